#include "support/tempdir.h"
#include "table/preferencesfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

using table::Preferences;
using table::Units;

// What Qt's settings wrote for these values, byte for byte.
constexpr char kQtWritten[] =
    "[chart]\nfitAxes=true\n\n[view]\nshotStatistics=false\nunits=imperial\n";
const Preferences kChanged{Units::Imperial, false, true};

// A relative XDG_CONFIG_HOME is ignored, as the XDG rules say.
TEST(PreferencesFile, IsFoundUnderXdgConfigHomeElseHome)
{
    EXPECT_EQ(table::preferencesPath("/cfg/", "/h"), "/cfg/Vexorel/Vexorel.conf");
    EXPECT_EQ(table::preferencesPath(nullptr, "/h"), "/h/.config/Vexorel/Vexorel.conf");
    EXPECT_EQ(table::preferencesPath("cfg", "/h"), "/h/.config/Vexorel/Vexorel.conf");
    EXPECT_EQ(table::preferencesPath("cfg", nullptr), "");
}

TEST(PreferencesFile, LoadsWhatQtsSettingsWroteAndDefaultsWhatItDoesNotKnow)
{
    const struct {
        const char* name;
        std::string text;
        Preferences expected;
    } cases[] = {
        {"qtWritten", kQtWritten, kChanged},
        {"crLfBlanksQuotesAndComments",
         "; kept\r\n[General]\r\nunits=metric\r\n[view]\r\n  units = \"imperial\"  \r\n# x\r\n",
         {Units::Imperial, true, false}},
        {"otherGroupsAndLetterCase",
         "[chart]\nunits=imperial\n[View]\nunits=imperial\n[view]\nfitAxes=true\nUnits=imperial\n",
         {}},
        {"oddValues", "[view]\nunits=furlongs\nshotStatistics=maybe\n[chart]\nfitAxes=7\n", {}},
        {"lastValueCounts",
         "[view]\nunits=imperial\n[chart]\nfitAxes=true\n[view]\nunits=metric\n",
         {Units::Metric, true, true}},
        {"confidenceLevel", "[view]\nconfidence=99\n", {Units::Metric, true, false, 99}},
        {"confidenceNotOffered", "[view]\nconfidence=97\n[chart]\nconfidence=90\n", {}},
        {"confidenceAsShown", "[view]\nconfidence=90 %\n", {}},
    };
    const TempDir dir;
    for (const auto& c : cases) {
        dir.write("Vexorel.conf", c.text);
        EXPECT_EQ(table::readPreferences(dir.file("Vexorel.conf")), c.expected) << c.name;
    }
    EXPECT_EQ(table::readPreferences(dir.file("missing.conf")), Preferences());
}

TEST(PreferencesFile, ASaveSetsItsThreeValuesAndKeepsEveryOtherLine)
{
    const struct {
        const char* name;
        std::optional<std::string> before;
        Preferences saved;
        std::string after;
    } cases[] = {
        {"firstSaveWritesAsQtDid", std::nullopt, kChanged, kQtWritten},
        {"otherLinesStay",
         "; mine\r\n[General]\r\nkey=1\r\n\r\n[view]\r\nunits = metric\r\nzoom=2\r\n\r\n[other]\r\n"
         "a=b\r\n",
         kChanged,
         "; mine\n[General]\nkey=1\n\n[view]\nunits=imperial\nzoom=2\nshotStatistics=false\n\n"
         "[other]\na=b\n\n[chart]\nfitAxes=true\n"},
        {"chosenLevelJoinsTheFile",
         std::nullopt,
         {Units::Imperial, false, true, 90},
         std::string(kQtWritten) + "confidence=90\n"},
        {"defaultReplacesAChosenLevel", "[view]\nconfidence=99\n", kChanged,
         "[view]\nconfidence=95\nshotStatistics=false\nunits=imperial\n\n[chart]\nfitAxes=true\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        // The first save also makes the folders.
        const std::string file = dir.file("config/Vexorel/Vexorel.conf");
        if (c.before) {
            std::filesystem::create_directories(dir.file("config/Vexorel"));
            dir.write("config/Vexorel/Vexorel.conf", *c.before);
        }
        EXPECT_TRUE(table::writePreferences(file, c.saved));
        EXPECT_EQ(readBytes(file), c.after);
        EXPECT_EQ(table::readPreferences(file), c.saved);
    }
}

// Links to a FIFO or a device made here, never a system's own: no read waits on them or
// opens them, and no save replaces them.
TEST(PreferencesFile, AnythingButARegularFileIsNeitherReadNorReplaced)
{
    const TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.file("folder"));
    // /dev/null's numbers: reads end at once should the node ever be read.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::mknod(dir.file("device").c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);
    }
    std::filesystem::create_symlink(dir.file("fifo"), dir.file("fifo-link"));
    std::filesystem::create_symlink(dir.file("device"), dir.file("device-link"));

    const struct {
        const char* name;
        mode_t type;
    } targets[] = {{"fifo", S_IFIFO},
                   {"fifo-link", S_IFIFO},
                   {"folder", S_IFDIR},
                   {"device", S_IFCHR},
                   {"device-link", S_IFCHR}};
    for (const auto& t : targets) {
        if (t.type == S_IFCHR && !root)
            continue;
        SCOPED_TRACE(t.name);
        const std::string path = dir.file(t.name);
        EXPECT_TRUE(table::readPreferencesLines(path).empty());
        EXPECT_FALSE(table::writePreferences(path, kChanged));
        struct stat st;
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & S_IFMT, t.type);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("fifo-link")));
}

// A file of up to 64 KiB loads; a larger one (100 MB here, sparse) is not read at all, and a
// save replaces it with the three values alone. Each file would give Imperial if read whole.
TEST(PreferencesFile, AFileLargerThan64KiBIsIgnored)
{
    const std::string head = "[view]\nunits=imperial\n";
    for (const std::uintmax_t size : {table::kMaxPreferencesBytes, table::kMaxPreferencesBytes + 1,
                                      std::uintmax_t{100} << 20}) {
        SCOPED_TRACE(size);
        const TempDir dir;
        const std::string file = dir.file("Vexorel.conf");
        if (size < (1u << 20)) {
            dir.write("Vexorel.conf", head + ";" + std::string(size - head.size() - 2, ' ') + "\n");
        } else {
            // Holes, with a line end now and then so that no line is too long to read.
            dir.write("Vexorel.conf", head);
            std::filesystem::resize_file(file, size);
            std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
            for (std::uintmax_t at = 32 * 1024; at < size; at += 32 * 1024)
                out.seekp(static_cast<std::streamoff>(at)).put('\n');
        }
        ASSERT_EQ(std::filesystem::file_size(file), size);
        const bool small = size <= table::kMaxPreferencesBytes;
        EXPECT_EQ(table::readPreferences(file).units, small ? Units::Imperial : Units::Metric);
        if (small)
            continue;
        EXPECT_TRUE(table::writePreferences(file, kChanged));
        EXPECT_EQ(readBytes(file), kQtWritten);
    }
}

} // namespace
