#pragma once

#include <string>
#include <string_view>
#include <vector>

// A test file, written with "\n" line ends, in the shapes exporters give it: LF or CR LF,
// and byte-order marks where phones put them (line 1, line 2 on Android, after the last
// line on iOS, which may then have no final line end).
struct FileVariant {
    std::string name;
    std::string bytes;
};

inline std::string withLineEnds(std::string_view text, std::string_view end)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += end;
        else
            out += c;
    }
    return out;
}

inline std::vector<FileVariant> lineEndVariants(std::string_view text)
{
    return {{"LF", withLineEnds(text, "\n")}, {"CRLF", withLineEnds(text, "\r\n")}};
}

inline std::vector<FileVariant> allVariants(std::string_view text)
{
    const std::string bom = "\xEF\xBB\xBF";
    std::vector<FileVariant> out;
    for (const FileVariant& ends : lineEndVariants(text)) {
        const std::string& b = ends.bytes;
        const std::size_t line2 = b.find('\n') + 1;
        std::string lastUnended = b;
        while (!lastUnended.empty() && (lastUnended.back() == '\n' || lastUnended.back() == '\r'))
            lastUnended.pop_back();
        out.push_back({ends.name, b});
        out.push_back({ends.name + " BOM on line 1", bom + b});
        out.push_back({ends.name + " BOM on line 2", b.substr(0, line2) + bom + b.substr(line2)});
        out.push_back({ends.name + " BOM after the last line", b + bom});
        out.push_back({ends.name + " BOM ending the last line", lastUnended + bom});
        out.push_back({ends.name + " BOM on lines 1, 2 and after the last",
                       bom + b.substr(0, line2) + bom + b.substr(line2) + bom});
    }
    return out;
}
