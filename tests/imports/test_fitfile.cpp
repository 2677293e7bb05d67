#include "imports/fitfile.h"
#include "runtime/errors.h"
#include "support/fitwriter.h"
#include "support/tempdir.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace imports {

void PrintTo(const FitSession& s, std::ostream* out)
{
    *out << "{t " << s.unixTime.value_or(-1) << ", w " << s.weightTenthGrains.value_or(0) << ", n "
         << s.shotCount.value_or(0) << ", v " << s.minSpeedMillimetresPerSecond.value_or(0) << "/"
         << s.maxSpeedMillimetresPerSecond.value_or(0) << "/"
         << s.averageSpeedMillimetresPerSecond.value_or(0) << ", shots";
    for (const FitShot& shot : s.shots)
        *out << " " << shot.speedMillimetresPerSecond << " #" << shot.number.value_or(0) << " t "
             << shot.unixTime.value_or(-1) << ";";
    *out << "}";
}

} // namespace imports

namespace {

using Bytes = std::vector<std::uint8_t>;
using F = FitWriter;
using imports::FitSession;
using imports::FitShot;
using Reason = imports::FitRefused::Reason;

constexpr auto L = F::Order::Little;
constexpr auto B = F::Order::Big;
constexpr std::uint32_t kNone = 0xFFFF'FFFF;
// 2024-06-11 00:26:40 UTC, in FIT seconds and in Unix seconds.
constexpr std::uint32_t kTime = kXeroSessionTime;
constexpr std::int64_t kUnix = 1'718'065'600;

const std::vector<F::Field> kSessionFields = {{253, 4, F::kUint32}, {0, 4, F::kUint32},
                                              {1, 4, F::kUint32},   {2, 4, F::kUint32},
                                              {3, 2, F::kUint16},   {5, 4, F::kUint32}};
const std::vector<F::Field> kShotFields = {
    {253, 4, F::kUint32}, {0, 4, F::kUint32}, {1, 2, F::kUint16}};

// A chronograph's file_id; the test adds what follows.
F chronograph(F::Header header = F::Header::LongWithCrc, F::Order order = L,
              std::vector<std::uint8_t> developerSizes = {})
{
    F fit(header);
    fit.define(0, 0, {{0, 1, F::kEnum}, {1, 2, F::kUint16}}, order, developerSizes);
    fit.data(0, {54, 1});
    return fit;
}

FitSession withShots(std::vector<FitShot> shots, std::optional<std::int64_t> time = {},
                     std::optional<std::uint16_t> count = {})
{
    return {time, {}, count, {}, {}, {}, std::move(shots)};
}

// Speeds and numbers whose bytes read differently in the other order.
Bytes twoShots(F::Header header, F::Order session, F::Order shots,
               std::vector<std::uint8_t> developerSizes = {})
{
    F fit = chronograph(header, shots, developerSizes);
    fit.define(1, 387, kSessionFields, session, developerSizes);
    fit.data(1, {kTime, 265'000, 270'500, 267'750, 2, 1'800});
    fit.define(2, 388, kShotFields, shots, developerSizes);
    fit.data(2, {kTime + 10, 265'391, 1});
    fit.data(2, {kTime + 20, 270'500, 2});
    return fit.file();
}

const FitSession kTwoShots{kUnix,
                           1'800,
                           2,
                           265'000,
                           270'500,
                           267'750,
                           {{265'391, 1, kUnix + 10}, {270'500, 2, kUnix + 20}}};

// The session's time ends in 30 (its low 5 bits): offset 31 is a second later, and offset 2
// has rolled over into the next 32 seconds.
constexpr std::int64_t kRolloverUnix = 1'000'000'030 + 631'065'600;
Bytes compressedTimes()
{
    F fit = chronograph(F::Header::Short);
    fit.define(1, 388, {{0, 4, F::kUint32}, {1, 2, F::kUint16}});
    fit.compressed(1, 5, {265'001, 1}); // before any full time: none
    fit.define(2, 387, kSessionFields);
    fit.data(2, {1'000'000'030, kNone, kNone, kNone, 6, kNone});
    fit.compressed(1, 31, {265'002, 2});
    fit.compressed(1, 2, {265'003, 3});
    fit.compressed(1, 2, {265'004, 4});
    fit.data(1, {265'005, 5}); // a normal header: no time
    fit.compressed(1, 1, {265'006, 6});
    return fit.file();
}

// Any message's timestamp is the reference for compressed ones; other messages are stepped
// over whatever their fields, even those numbered like the fields taken elsewhere. Without a
// session message the shots alone are read.
Bytes otherMessages()
{
    F fit;
    fit.define(0, 23, {{253, 4, F::kUint32}, {0, 7, F::kByte}, {27, 16, 0x07}});
    fit.data(0, {kTime + 100, 0, 0x5852'4F45}); // device_info, before file_id
    fit.define(1, 0, {{0, 1, F::kEnum}});
    fit.data(1, {54});
    fit.define(2, 388, {{0, 4, F::kUint32}, {1, 2, F::kUint16}}, B);
    fit.compressed(2, (kTime + 101) & 0x1F, {265'391, 1});
    fit.define(3, 0xFF00, {{1, 1, F::kUint8}, {3, 3, F::kByte}}, B); // a manufacturer's own
    fit.data(3, {7, 0xABCDEF});
    fit.data(0, {kTime + 200, 1, 2});
    fit.compressed(2, (kTime + 203) & 0x1F, {265'392, 2});
    return fit.file();
}

// One local type for file_id, session and shots, the shots in two layouts.
Bytes redefined()
{
    F fit = chronograph();
    fit.define(0, 387, kSessionFields);
    fit.data(0, {kTime, 265'000, 270'500, 267'750, 2, 1'800});
    fit.define(0, 388, kShotFields, B);
    fit.data(0, {kTime + 10, 265'391, 1});
    fit.define(0, 388, {{1, 2, F::kUint16}, {0, 4, F::kUint32}, {253, 4, F::kUint32}});
    fit.data(0, {2, 270'500, kTime + 20});
    return fit.file();
}

Bytes allOnes()
{
    F fit = chronograph();
    fit.define(1, 387, kSessionFields);
    fit.data(1, {kNone, kNone, kNone, kNone, 0xFFFF, kNone});
    fit.define(2, 388, kShotFields);
    fit.data(2, {kNone, 265'391, 0xFFFF});
    fit.data(2, {kTime, kNone, 2}); // no speed, no shot
    fit.data(2, {kTime + 5, 0, 3}); // zero is a value
    return fit.file();
}

Bytes noShots()
{
    F fit = chronograph();
    fit.define(1, 387, kSessionFields);
    fit.data(1, {kTime, kNone, kNone, kNone, 0, 1'800});
    return fit.file();
}

struct ReadCase {
    const char* name;
    Bytes bytes;
    FitSession expected;
};

// The case's name in the test's listing, not its bytes.
void PrintTo(const ReadCase& c, std::ostream* out)
{
    *out << c.name;
}

const auto caseName = [](const auto& info) { return std::string(info.param.name); };

class FitSessions : public ::testing::TestWithParam<ReadCase> {};

TEST_P(FitSessions, TakeTheSessionAndEveryShot)
{
    ASSERT_TRUE(imports::isFitHeader(GetParam().bytes));
    EXPECT_EQ(imports::readFit(GetParam().bytes, "s.fit"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Chronograph, FitSessions,
    ::testing::Values(
        ReadCase{"littleEndianShortHeader", twoShots(F::Header::Short, L, L), kTwoShots},
        ReadCase{"bigEndianHeaderCrc", twoShots(F::Header::LongWithCrc, B, B), kTwoShots},
        ReadCase{"developerFieldsMixedOrdersHeaderCrc0",
                 twoShots(F::Header::LongWithoutCrc, B, L, {3, 1}), kTwoShots},
        ReadCase{"compressedTimestamps", compressedTimes(),
                 withShots({{265'001, 1, {}},
                            {265'002, 2, kRolloverUnix + 1},
                            {265'003, 3, kRolloverUnix + 4},
                            {265'004, 4, kRolloverUnix + 4},
                            {265'005, 5, {}},
                            {265'006, 6, kRolloverUnix + 35}},
                           kRolloverUnix, 6)},
        ReadCase{"otherMessagesSkipped", otherMessages(),
                 withShots({{265'391, 1, kUnix + 101}, {265'392, 2, kUnix + 203}})},
        ReadCase{"localTypeRedefined", redefined(), kTwoShots},
        ReadCase{"allOnesAbsent", allOnes(), withShots({{265'391, {}, {}}, {0, 3, kUnix + 5}})},
        ReadCase{"noShots", noShots(), {kUnix, 1'800, 0, {}, {}, {}, {}}}),
    caseName);

TEST(FitRead, FileLaidOutByHand)
{
    // Not from FitWriter, so the two cannot share a misreading of the format.
    // clang-format off
    const Bytes bytes = {
        12, 0x20, 0x95, 0x52, 30, 0, 0, 0, '.', 'F', 'I', 'T', // header, 30 bytes of records
        0x40, 0, 0, 0, 0, 1, 0, 1, 0,                          // local 0: file_id, type (enum)
        0x00, 54,                                              // chronograph
        0x41, 0, 1, 0x01, 0x84, 2, 0, 4, 0x86, 1, 2, 0x84,     // local 1: big-endian shot
        0x01, 0x00, 0x04, 0x0C, 0xAF, 0x00, 0x07,              // 265.391 m/s, shot 7
        0x96, 0x5C};                                           // CRC
    // clang-format on
    EXPECT_EQ(imports::readFit(bytes, "hand.fit"), withShots({{265'391, 7, {}}}));
}

// That it agrees with the FIT document's table is shown by every FitWriter file read above.
TEST(FitRead, CrcIsArcAndGoesOnFromAnEarlierOne)
{
    const Bytes check = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(imports::fitCrc(check), 0xBB3D);
    EXPECT_EQ(
        imports::fitCrc(std::span(check).subspan(4), imports::fitCrc(std::span(check).first(4))),
        0xBB3D);
}

TEST(FitRead, HeaderRecognisedByItsSizeAndSignature)
{
    Bytes head = xeroSessionFile(1);
    EXPECT_TRUE(imports::isFitHeader(head));
    EXPECT_FALSE(imports::isFitHeader(std::span(head).first(11)));
    head[0] = 12;
    EXPECT_TRUE(imports::isFitHeader(std::span(head).first(12)));
    for (const std::uint8_t size : {0, 13, 16, 76}) {
        head[0] = size;
        EXPECT_FALSE(imports::isFitHeader(head)) << int(size);
    }
    head[0] = 14;
    head[9] = 'f';
    EXPECT_FALSE(imports::isFitHeader(head));
}

TEST(FitRead, HoldsUpToTheImportLimitOfShots)
{
    EXPECT_EQ(imports::readFit(xeroSessionFile(imports::kMaxImportShots), "most.fit").shots.size(),
              imports::kMaxImportShots);
    const Bytes over = xeroSessionFile(imports::kMaxImportShots + 1);
    const auto e = thrown<imports::FitRefused>([&] { imports::readFit(over, "over.fit"); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->reason(), Reason::TooManyShots);
    // The last shot record: a header and 10 bytes, then the CRC.
    const std::size_t last = over.size() - 2 - 11;
    EXPECT_EQ(e->byte(), last);
    EXPECT_EQ(e->what(), "'over.fit' is not a valid Garmin Xero FIT file (byte " +
                             std::to_string(last) + "): more than 65535 shots");
}

// The file, and the byte where its damage is to be found.
struct Made {
    Bytes bytes;
    std::size_t byte = 0;
};

struct RefusalCase {
    const char* name;
    Made made;
    Reason reason = Reason::Damaged;
};

void PrintTo(const RefusalCase& c, std::ostream* out)
{
    *out << c.name;
}

class FitRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(FitRefusals, NameTheFileAndTheByte)
{
    const RefusalCase& c = GetParam();
    const auto e = thrown<imports::FitRefused>([&] { imports::readFit(c.made.bytes, "s.fit"); });
    ASSERT_TRUE(e) << "the file was read";
    EXPECT_EQ(e->reason(), c.reason);
    EXPECT_EQ(e->path(), "s.fit");
    EXPECT_EQ(e->line(), 0u);
    EXPECT_EQ(e->byte(), c.made.byte);
    EXPECT_EQ(e->what(),
              c.reason == Reason::Damaged
                  ? "'s.fit' is a damaged FIT file (byte " + std::to_string(c.made.byte) + ")"
                  : "'s.fit' is a FIT file without chronograph shots");
}

// A good file and one record after its shot; sizes and CRC fit.
Made withRecord(const Bytes& record, std::size_t damageInRecord = 0)
{
    F fit = chronograph();
    fit.define(1, 388, kShotFields);
    fit.data(1, {kTime, 265'391, 1});
    const std::size_t at = fit.raw(record);
    return {fit.file(), at + damageInRecord};
}

Made changed(Bytes bytes, std::size_t at, std::size_t damageFound)
{
    bytes.at(at) ^= 0x10;
    return {bytes, damageFound};
}

const Bytes kGood = twoShots(F::Header::LongWithCrc, B, L);
const std::size_t kEnd = kGood.size();

// One byte more than the file has, counted by the header (one without CRC) or after the CRC.
Made oneByteMore(bool inHeader)
{
    Bytes bytes = twoShots(F::Header::Short, L, L);
    const std::size_t end = bytes.size();
    if (inHeader)
        ++bytes[4];
    else
        bytes.push_back(0);
    return {bytes, end};
}

Made activity(bool withShot)
{
    F fit;
    fit.define(0, 0, {{0, 1, F::kEnum}});
    fit.data(0, {4});
    fit.define(1, 20, {{253, 4, F::kUint32}, {0, 4, 0x85}, {1, 4, 0x85}, {3, 1, F::kUint8}});
    for (std::uint32_t i = 0; i < 20; ++i)
        fit.data(1, {kTime + i, 0x1F00'0000 + i, 0x0100'0000 + i, 140});
    fit.define(2, withShot ? 388 : 18, {{253, 4, F::kUint32}, {0, 4, F::kUint32}});
    fit.data(2, {kTime + 20, 265'391});
    return {fit.file()};
}

// A chronograph's file_id and device info, or its shots alone.
Made chronographPart(bool fileId)
{
    F fit = fileId ? chronograph() : F();
    fit.define(1, fileId ? 23 : 388, kShotFields);
    fit.data(1, {kTime, 265'391, 1});
    return {fit.file()};
}

constexpr Reason kNotChronograph = Reason::NotChronograph;

INSTANTIATE_TEST_SUITE_P(
    Refused, FitRefusals,
    ::testing::Values(
        RefusalCase{"headerSize", changed(kGood, 0, 0)},
        RefusalCase{"signature", changed(kGood, 9, 8)},
        RefusalCase{"headerCrc", changed(kGood, 13, 12)},
        RefusalCase{"recordByte", changed(kGood, kEnd - 6, kEnd - 2)},
        RefusalCase{"fileCrc", changed(kGood, kEnd - 1, kEnd - 2)},
        RefusalCase{"recordsSize", oneByteMore(true)},
        RefusalCase{"byteAfterTheCrc", oneByteMore(false)},
        RefusalCase{"dataPastTheEnd", withRecord({0x01, 0, 0})},
        RefusalCase{"definitionCut", withRecord({0x42, 0, 0, 1})},
        RefusalCase{"fieldsPastTheEnd", withRecord({0x42, 0, 0, 0x84, 1, 2, 0, 4, 0x86, 1, 2})},
        RefusalCase{"developerFieldsPastTheEnd", withRecord({0x62, 0, 0, 0x84, 1, 0, 2, 0, 1, 0})},
        RefusalCase{"undefinedLocalType", withRecord({5, 0, 0})},
        RefusalCase{"compressedOfUndefinedLocalType", withRecord({0xE3, 0, 0, 0, 0})},
        RefusalCase{"architecture2", withRecord({0x42, 0, 2, 0x84, 1, 0}, 2)},
        RefusalCase{"fieldOfNoBytes",
                    withRecord({0x42, 0, 0, 23, 0, 2, 253, 4, 0x86, 2, 0, 2}, 10)},
        RefusalCase{"developerFieldOfNoBytes",
                    withRecord({0x62, 0, 0, 23, 0, 0, 2, 0, 1, 0, 1, 0, 0}, 11)},
        RefusalCase{"shotSpeedOf3Bytes", withRecord({0x42, 0, 1, 0x01, 0x84, 1, 0, 3, 0x86}, 7)},
        RefusalCase{"activity", activity(false), kNotChronograph},
        RefusalCase{"activityWithAShot", activity(true), kNotChronograph},
        RefusalCase{"chronographTypeOnly", chronographPart(true), kNotChronograph},
        RefusalCase{"shotsWithoutFileId", chronographPart(false), kNotChronograph}),
    caseName);

TEST(FitRefusal, FileCutAnywhereIsDamagedWhereItEnds)
{
    for (const Bytes& whole : {xeroSessionFile(4), twoShots(F::Header::Short, B, L)}) {
        for (std::size_t size = 0; size < whole.size(); ++size) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
            const auto e = thrown<imports::FitRefused>([&] { imports::readFit(cut, "c.fit"); });
            ASSERT_TRUE(e) << size;
            EXPECT_EQ(e->reason(), Reason::Damaged) << size;
            EXPECT_EQ(e->byte(), size);
        }
    }
}

// As from a writer that stopped mid-record and still closed the file, so sizes and CRC fit.
// Cut between records the file is good and holds the shots before the cut.
TEST(FitRefusal, RecordsCutAnywhereAreDamagedOrAPrefix)
{
    const Bytes whole = xeroSessionFile(4);
    const FitSession all = imports::readFit(whole, "w.fit");
    std::size_t read = 0;
    for (std::size_t size = 14; size < whole.size() - 2; ++size) {
        Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        cut.resize(size + 2);
        try {
            const FitSession session = imports::readFit(resealFit(cut), "c.fit");
            ASSERT_LE(session.shots.size(), all.shots.size());
            EXPECT_TRUE(std::equal(session.shots.begin(), session.shots.end(), all.shots.begin()))
                << size;
            ++read;
        } catch (const imports::FitRefused& e) {
            EXPECT_TRUE(e.reason() == Reason::NotChronograph || (e.byte() >= 14 && e.byte() < size))
                << size;
        }
    }
    // After the session, after the shots' definition and after each shot but the last.
    EXPECT_EQ(read, all.shots.size() + 1);
}

TEST(FitFile, ReadsRegularFilesUpToTheLimit)
{
    TempDir dir;
    const Bytes bytes = xeroSessionFile(3);
    dir.write("06-18-2024_15-47-11.fit", std::string(bytes.begin(), bytes.end()));
    const FitSession session = imports::readFitFile(dir.file("06-18-2024_15-47-11.fit"));
    EXPECT_EQ(session, imports::readFit(bytes, "same"));
    EXPECT_EQ(session.shots.size(), 3u);

    // Sparse files of zeros: at the limit it is read and found damaged, above it not read.
    const std::string large = dir.file("large.fit");
    dir.write("large.fit", "");
    ASSERT_EQ(::truncate(large.c_str(), imports::kMaxFitFileBytes), 0);
    const auto atLimit = thrown<imports::FitRefused>([&] { imports::readFitFile(large); });
    ASSERT_TRUE(atLimit);
    EXPECT_EQ(atLimit->reason(), Reason::Damaged);
    ASSERT_EQ(::truncate(large.c_str(), imports::kMaxFitFileBytes + 1), 0);
    const auto tooLarge = thrown<imports::FitRefused>([&] { imports::readFitFile(large); });
    ASSERT_TRUE(tooLarge);
    EXPECT_EQ(tooLarge->what(),
              "'" + large + "' is too large for a chronograph FIT file (more than 16 MiB)");

    ASSERT_EQ(::mkfifo(dir.file("pipe.fit").c_str(), 0600), 0);
    EXPECT_THROW(imports::readFitFile(dir.file("pipe.fit")), rt::NotRegularFile);
}

} // namespace
