#include "chronolite-sim/options.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace chronosim {

namespace {

struct Error {
    std::string text;
};

template <typename T> std::optional<T> parseNumber(std::string_view text)
{
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty())
        return std::nullopt;
    return value;
}

int parseCount(std::string_view name, std::string_view text, int min, int max)
{
    const auto value = parseNumber<long long>(text);
    if (!value)
        throw Error{std::string(name) + ": '" + std::string(text) + "' is not a whole number"};
    if (*value < min || *value > max)
        throw Error{std::string(name) + ": " + std::string(text) + " is out of range (" +
                    std::to_string(min) + " to " + std::to_string(max) + ")"};
    return static_cast<int>(*value);
}

double parseReal(std::string_view name, std::string_view text, double max)
{
    const auto value = parseNumber<double>(text);
    if (!value || !std::isfinite(*value))
        throw Error{std::string(name) + ": '" + std::string(text) + "' is not a number"};
    if (*value < 0 || *value > max)
        throw Error{std::string(name) + ": " + std::string(text) + " is out of range"};
    return *value;
}

// Ten minutes is far beyond any pause a device would make; larger values are typing errors.
constexpr int maxMs = 600'000;
// The device numbers its shots in a few digits; a million lines is plenty for load tests.
constexpr int maxShots = 1'000'000;

Options parse(const std::vector<std::string_view>& args)
{
    Options o;
    bool linkGiven = false;
    bool pauseGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        std::optional<std::string_view> inlineValue;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != name.npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        const auto value = [&]() -> std::string_view {
            if (inlineValue)
                return *inlineValue;
            if (i + 1 >= args.size())
                throw Error{std::string(name) + " needs a value"};
            return args[++i];
        };
        const auto flag = [&] {
            if (inlineValue)
                throw Error{std::string(name) + " takes no value"};
        };

        if (name == "--help" || name == "-h") {
            flag();
            o.help = true;
        } else if (name == "--shots") {
            o.shots = parseCount(name, value(), 0, maxShots);
        } else if (name == "--mean") {
            o.mean = parseReal(name, value(), 100'000.0);
        } else if (name == "--spread") {
            o.spread = parseReal(name, value(), 100'000.0);
        } else if (name == "--seed") {
            const auto text = value();
            const auto seed = parseNumber<std::uint64_t>(text);
            if (!seed)
                throw Error{"--seed: '" + std::string(text) + "' is not a whole number"};
            o.seed = *seed;
        } else if (name == "--pace") {
            o.paceMs = parseCount(name, value(), 0, maxMs);
        } else if (name == "--pause-after") {
            o.pauseAfter = parseCount(name, value(), 0, maxShots);
        } else if (name == "--pause") {
            o.pauseMs = parseCount(name, value(), 0, maxMs);
            pauseGiven = true;
        } else if (name == "--raw") {
            o.rawSource = std::string(value());
        } else if (name == "--escape") {
            flag();
            o.escape = true;
        } else if (name == "--link") {
            o.linkPath = std::string(value());
            if (o.linkPath.empty())
                throw Error{"--link needs a path"};
            linkGiven = true;
        } else if (name == "--no-link") {
            flag();
            o.link = false;
        } else if (name == "--repeat") {
            flag();
            o.repeat = true;
        } else if (name == "--write-timeout") {
            o.writeTimeoutMs = parseCount(name, value(), 1, maxMs);
        } else {
            throw Error{"unknown option '" + std::string(args[i]) + "'"};
        }
    }

    if (o.help)
        return o;
    if (linkGiven && !o.link)
        throw Error{"--link and --no-link exclude each other"};
    if (pauseGiven && !o.pauseAfter)
        throw Error{"--pause needs --pause-after"};
    if (o.rawSource && o.escape)
        throw Error{"--escape mixes sequences into generated lines; it does not apply to --raw"};
    // A pause after the last line is only the silence that ends the transmission anyway.
    if (o.pauseAfter && (*o.pauseAfter < 1 || (!o.rawSource && *o.pauseAfter >= o.shots)))
        throw Error{"--pause-after must lie between 1 and the number of shots - 1"};
    return o;
}

} // namespace

ParseResult parseOptions(const std::vector<std::string_view>& args)
{
    try {
        return {parse(args), {}};
    } catch (const Error& e) {
        return {{}, e.text};
    }
}

std::string usageText(std::string_view programName)
{
    std::string text = "Usage: " + std::string(programName) + " [options]\n";
    text += R"(
A simulated Chronolite chronograph on a virtual serial line (a pseudo-terminal).
It waits until a program opens the line (the chronograph is switched on), sends
two header lines and the shot lines ("  1   305", CR LF), then falls silent and
waits until the program closes the line. By default it then exits.

  --shots N          number of shot lines (default 10)
  --mean V           mean velocity in m/s (default 300)
  --spread S         standard deviation in m/s (default 3); velocities are
                     rounded to whole numbers and never negative
  --seed N           seed for reproducible velocities (default: a fresh one,
                     printed at start)
  --pace MS          milliseconds before each line (default 20)
  --pause-after K    pause after K shot lines; a pause over 100 ms splits the
                     transmission in two for the program
  --pause MS         length of that pause (default 300)
  --raw FILE|-       send the bytes of FILE (or standard input, read to its
                     end first) instead of generated lines, one piece per
                     line feed; --pause-after then counts line feeds
  --escape           mix VT100 sequences (clear screen, status and cursor
                     requests, one split across two writes) into the lines
  --link PATH        symbolic link to the line (default /dev/ttyCHRONO0; the
                     program lists links in /dev that point at a
                     pseudo-terminal). Needs root, e.g. sudo; the line is then
                     handed to the user who ran sudo
  --no-link          make no link; open the printed /dev/pts/N directly
  --repeat           serve again each time a program opens the line, until
                     Ctrl+C
  --write-timeout MS give up when the program takes no data for this long
                     (default 2000)
  --help             this text

Exit status: 0 done, 1 the line failed or the program took no data, 2 bad
options.
)";
    return text;
}

} // namespace chronosim
