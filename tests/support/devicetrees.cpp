#include "support/devicetrees.h"

#include "support/fitwriter.h"

#include <cstdio>
#include <filesystem>

namespace {

std::string bytesOf(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// A watch's activity: a FIT file, but no chronograph's.
std::string activityFile()
{
    FitWriter fit;
    fit.define(0, 0, {{0, 1, FitWriter::kEnum}});
    fit.data(0, {4});
    fit.define(1, 20, {{253, 4, FitWriter::kUint32}, {6, 2, FitWriter::kUint16}});
    fit.data(1, {kXeroSessionTime, 1'200});
    return bytesOf(fit.file());
}

} // namespace

std::string labRadarSdReport(int number, const char* velocityUnit, const std::vector<SdShot>& shots)
{
    const std::string pad("\0\0   \0", 6);
    char series[16];
    std::snprintf(series, sizeof series, "%04d", number);
    std::string text = "sep=;\r\nDevice ID;LBR-0012345;;" + pad + "\r\n\r\nSeries No;" + series +
                       ";;" + pad + "\r\n" + std::string(1, '\0') + "Total number of shots;" +
                       std::to_string(shots.size()) + ";;" + pad + "\r\n\r\nUnits velocity;" +
                       velocityUnit + ";;" + pad + "\r\nUnits weight;grain;;" + pad +
                       "\r\n\r\nShot ID;V0;V10.00;Proj. Weight;Date;Time\r\n";
    for (std::size_t i = 0; i < shots.size(); ++i) {
        char line[128];
        std::snprintf(line, sizeof line, "%04zu;%s;%s;168;%s;%s;\r\n", i + 1, shots[i].velocity,
                      shots[i].velocity, shots[i].date, shots[i].time);
        text += line;
    }
    return text;
}

void putFile(const TempDir& dir, const std::string& name, std::string_view bytes)
{
    std::filesystem::create_directories(std::filesystem::path(dir.file(name)).parent_path());
    dir.write(name, bytes);
}

void writeLabRadarCard(const TempDir& dir, const std::string& root)
{
    const std::string lbr = root + "/LBR/";
    putFile(dir, lbr + "SR0001/SR0001 Report.csv",
            labRadarSdReport(1, "fps",
                             {{"2804", "05-10-2024", "09:41:02"},
                              {"2780", "05-10-2024", "09:41:40"},
                              {"2820", "05-10-2024", "09:42:15"}}));
    putFile(dir, lbr + "SR0001/TRK/Shot0001 Track.csv",
            "sep=;\r\nTime (s);Vel (fps);Dist (yd);SNR\r\n0.001;2804;1;30\r\n");
    putFile(dir, lbr + "SR0002/SR0002 Report.csv",
            labRadarSdReport(
                2, "m/s", {{"805", "05-11-2024", "10:00:00"}, {"812", "05-11-2024", "10:00:30"}}));
    std::filesystem::create_directories(dir.file(lbr + "SR0004/TRK"));
    putFile(dir, lbr + "SR0007/SR0007 Report.csv", labRadarSdReport(7, "m/s", {}));
    putFile(dir, lbr + "SR0010/SR0010 Report.csv", "Dear diary\r\n");
    putFile(dir, lbr + "TRK/Shot0002 Track.csv", "sep=;\r\nTime (s);Vel (fps)\r\n");
    putFile(dir, lbr + "notes.txt", "range day\r\n");
}

void writeXeroDrive(const TempDir& dir, const std::string& root)
{
    const std::string sessions = root + "/Garmin/Shot_Sessions/";
    putFile(dir, sessions + "06-11-2024_00-26-40.fit", bytesOf(xeroSessionFile(3)));
    putFile(dir, sessions + "06-13-2024_01-26-40.FIT",
            bytesOf(xeroSessionFile(5, kXeroSessionTime + 2 * 86'400 + 3'600)));
    putFile(dir, sessions + "activity.fit", activityFile());
    putFile(dir, sessions + "readme.txt", "not a session\n");
    putFile(dir, root + "/Garmin/Activities/run.fit", activityFile());
}

double xeroMean(std::size_t shots)
{
    double sum = 0;
    for (std::size_t i = 0; i < shots; ++i)
        sum += xeroShotSpeed(i) / 1000.0;
    return sum / static_cast<double>(shots);
}
