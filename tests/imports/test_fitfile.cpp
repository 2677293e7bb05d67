#include "imports/fitfile.h"
#include "runtime/errors.h"
#include "support/fitwriter.h"
#include "support/tempdir.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace imports {

// Failures show the values, not the bytes of the structs.
void PrintTo(const FitShot& shot, std::ostream* out)
{
    *out << "{" << shot.speedMillimetresPerSecond << " #" << shot.number.value_or(0) << " t"
         << shot.unixTime.value_or(0) << "}";
}

void PrintTo(const FitSession& s, std::ostream* out)
{
    *out << "{t" << s.unixTime.value_or(0) << " w" << s.weightTenthGrains.value_or(0) << " n"
         << s.shotCount.value_or(0) << " v" << s.minSpeedMillimetresPerSecond.value_or(0) << "/"
         << s.maxSpeedMillimetresPerSecond.value_or(0) << "/"
         << s.averageSpeedMillimetresPerSecond.value_or(0) << " shots";
    for (const FitShot& shot : s.shots)
        PrintTo(shot, out);
    *out << "}";
}

} // namespace imports

namespace {

using Bytes = std::vector<std::uint8_t>;
using F = FitWriter;
using imports::FitSession;
using imports::FitShot;
using Reason = imports::FitRefused::Reason;

constexpr std::uint32_t kAllOnes = 0xFFFF'FFFF;
// 2024-06-11 00:26:40 UTC, in FIT seconds and in Unix seconds.
constexpr std::uint32_t kTime = kXeroSessionTime;
constexpr std::int64_t kUnixTime = 1'718'065'600;

const std::vector<F::Field> kSessionFields = {{253, 4, F::kUint32}, {0, 4, F::kUint32},
                                              {1, 4, F::kUint32},   {2, 4, F::kUint32},
                                              {3, 2, F::kUint16},   {5, 4, F::kUint32}};
const std::vector<F::Field> kShotFields = {
    {253, 4, F::kUint32}, {0, 4, F::kUint32}, {1, 2, F::kUint16}};

void chronographFileId(F& fit, std::uint8_t local, F::Order order = F::Order::Little,
                       std::vector<std::uint8_t> developerSizes = {})
{
    fit.define(local, 0, {{0, 1, F::kEnum}, {1, 2, F::kUint16}}, order, developerSizes);
    fit.data(local, {54, 1});
}

// Two shots: speeds and numbers whose bytes read differently in the other order.
Bytes twoShots(F::Header header, F::Order fileId, F::Order session, F::Order shots)
{
    F fit(header);
    chronographFileId(fit, 0, fileId);
    fit.define(1, 387, kSessionFields, session);
    fit.data(1, {kTime, 265'000, 270'500, 267'750, 2, 1'800});
    fit.define(2, 388, kShotFields, shots);
    fit.data(2, {kTime + 10, 265'391, 1});
    fit.data(2, {kTime + 20, 270'500, 2});
    return fit.file();
}

FitSession twoShotsRead()
{
    return {kUnixTime,
            1'800,
            2,
            265'000,
            270'500,
            267'750,
            {{265'391, 1, kUnixTime + 10}, {270'500, 2, kUnixTime + 20}}};
}

struct ReadCase {
    const char* name;
    std::function<Bytes()> make;
    FitSession expected;
};

void PrintTo(const ReadCase& c, std::ostream* out)
{
    *out << c.name;
}

class FitSessions : public ::testing::TestWithParam<ReadCase> {};

TEST_P(FitSessions, TakesTheSessionAndEveryShot)
{
    const Bytes bytes = GetParam().make();
    ASSERT_TRUE(imports::isFitHeader(bytes));
    EXPECT_EQ(imports::readFit(bytes, "s.fit"), GetParam().expected);
}

// Compressed headers carry the low 5 bits of the time; the reference here ends in 30, so
// offset 31 is a second later and offset 2 has rolled over to the next 32 seconds.
Bytes compressedTimes()
{
    constexpr std::uint32_t t = 1'000'000'030;
    static_assert(t % 32 == 30);
    F fit(F::Header::Short);
    chronographFileId(fit, 0);
    fit.define(1, 388, {{0, 4, F::kUint32}, {1, 2, F::kUint16}});
    fit.compressed(1, 5, {265'001, 1}); // before any full time: none
    fit.define(2, 387, kSessionFields);
    fit.data(2, {t, kAllOnes, kAllOnes, kAllOnes, 5, kAllOnes});
    fit.compressed(1, 31, {265'002, 2});
    fit.compressed(1, 2, {265'003, 3});
    fit.compressed(1, 2, {265'004, 4});
    fit.data(1, {265'005, 5}); // a normal header: no time of its own
    fit.compressed(1, 1, {265'006, 6});
    return fit.file();
}

FitSession compressedTimesRead()
{
    constexpr std::int64_t unix = 1'000'000'030 + 631'065'600;
    FitSession s;
    s.unixTime = unix;
    s.shotCount = 5;
    s.shots = {{265'001, 1, std::nullopt}, {265'002, 2, unix + 1},     {265'003, 3, unix + 4},
               {265'004, 4, unix + 4},     {265'005, 5, std::nullopt}, {265'006, 6, unix + 35}};
    return s;
}

// Any message's timestamp is the reference for compressed ones; messages of no interest are
// stepped over whatever their fields, even fields numbered like those taken elsewhere.
Bytes otherMessages()
{
    F fit;
    fit.define(0, 23, {{253, 4, F::kUint32}, {0, 7, F::kByte}, {27, 16, 0x07}});
    fit.data(0, {kTime + 100, 0, 0x5852'4F45}); // device_info before file_id
    chronographFileId(fit, 1);
    fit.define(2, 388, {{0, 4, F::kUint32}, {1, 2, F::kUint16}}, F::Order::Big);
    fit.compressed(2, (kTime + 101) & 0x1F, {265'391, 1});
    fit.define(3, 0xFF00, {{1, 1, F::kUint8}, {3, 3, F::kByte}}, F::Order::Big); // manufacturer's
    fit.data(3, {7, 0xABCDEF});
    fit.data(0, {kTime + 200, 1, 2});
    fit.compressed(2, (kTime + 203) & 0x1F, {265'392, 2});
    return fit.file();
}

// Developer fields on every message, of several sizes; the reader skips their bytes.
Bytes developerFields()
{
    F fit(F::Header::LongWithoutCrc);
    chronographFileId(fit, 0, F::Order::Little, {2});
    fit.define(1, 387, kSessionFields, F::Order::Big, {3, 1});
    fit.data(1, {kTime, 265'000, 270'500, 267'750, 2, 1'800});
    fit.define(2, 388, kShotFields, F::Order::Little, {4});
    fit.data(2, {kTime + 10, 265'391, 1});
    fit.data(2, {kTime + 20, 270'500, 2});
    return fit.file();
}

// One local type serving file_id, session and shots, redefined in another layout midway.
Bytes redefined()
{
    F fit;
    chronographFileId(fit, 0);
    fit.define(0, 387, kSessionFields);
    fit.data(0, {kTime, 265'000, 270'500, 267'750, 2, 1'800});
    fit.define(0, 388, kShotFields, F::Order::Big);
    fit.data(0, {kTime + 10, 265'391, 1});
    fit.define(0, 388, {{1, 2, F::kUint16}, {0, 4, F::kUint32}, {253, 4, F::kUint32}});
    fit.data(0, {2, 270'500, kTime + 20});
    return fit.file();
}

Bytes allOnes()
{
    F fit;
    chronographFileId(fit, 0);
    fit.define(1, 387, kSessionFields);
    fit.data(1, {kAllOnes, kAllOnes, kAllOnes, kAllOnes, 0xFFFF, kAllOnes});
    fit.define(2, 388, kShotFields);
    fit.data(2, {kAllOnes, 265'391, 0xFFFF});
    fit.data(2, {kTime, kAllOnes, 2}); // no speed: no shot
    fit.data(2, {kTime + 5, 0, 3});    // zero is a value
    return fit.file();
}

Bytes noShots()
{
    F fit;
    chronographFileId(fit, 0);
    fit.define(1, 387, kSessionFields);
    fit.data(1, {kTime, kAllOnes, kAllOnes, kAllOnes, 0, 1'800});
    return fit.file();
}

Bytes shotsWithoutSession()
{
    F fit(F::Header::Short);
    chronographFileId(fit, 3);
    fit.define(3, 388, kShotFields);
    fit.data(3, {kTime + 10, 265'391, 1});
    return fit.file();
}

FitSession xeroRead(std::size_t shots)
{
    FitSession s{kUnixTime, 1'800, static_cast<std::uint16_t>(shots), 265'000, 273'999,
                 269'500,   {}};
    for (std::size_t i = 0; i < shots; ++i)
        s.shots.push_back({xeroShotSpeed(i), static_cast<std::uint16_t>(i + 1),
                           kUnixTime + 20 + 7 * static_cast<std::int64_t>(i)});
    return s;
}

FitSession withShots(std::vector<FitShot> shots)
{
    FitSession s;
    s.shots = std::move(shots);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Chronograph, FitSessions,
    ::testing::Values(
        ReadCase{"littleEndianShortHeader",
                 [] {
                     return twoShots(F::Header::Short, F::Order::Little, F::Order::Little,
                                     F::Order::Little);
                 },
                 twoShotsRead()},
        ReadCase{"bigEndianHeaderWithCrc",
                 [] {
                     return twoShots(F::Header::LongWithCrc, F::Order::Big, F::Order::Big,
                                     F::Order::Big);
                 },
                 twoShotsRead()},
        ReadCase{"ordersMixedHeaderCrcZero",
                 [] {
                     return twoShots(F::Header::LongWithoutCrc, F::Order::Big, F::Order::Little,
                                     F::Order::Big);
                 },
                 twoShotsRead()},
        ReadCase{"compressedTimestamps", compressedTimes, compressedTimesRead()},
        ReadCase{"otherMessagesSkipped", otherMessages,
                 withShots({{265'391, 1, kUnixTime + 101}, {265'392, 2, kUnixTime + 203}})},
        ReadCase{"developerFields", developerFields, twoShotsRead()},
        ReadCase{"localTypeRedefined", redefined, twoShotsRead()},
        ReadCase{"allOnesAbsent", allOnes,
                 withShots({{265'391, std::nullopt, std::nullopt}, {0, 3, kUnixTime + 5}})},
        ReadCase{"noShotsIsAnEmptySession", noShots,
                 [] {
                     FitSession s;
                     s.unixTime = kUnixTime;
                     s.weightTenthGrains = 1'800;
                     s.shotCount = 0;
                     return s;
                 }()},
        ReadCase{"shotsWithoutSession", shotsWithoutSession,
                 withShots({{265'391, 1, kUnixTime + 10}})},
        ReadCase{"asTheXeroWrites", [] { return xeroSessionFile(3); }, xeroRead(3)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FitRead, FileLaidOutByHand)
{
    // Not from FitWriter, so the two cannot share a misreading of the format.
    const Bytes bytes = {
        12,   0x20, 0x95, 0x52, 30,   0,    0,    0, '.',
        'F',  'I',  'T',                                // header, 30 bytes of records
        0x40, 0,    0,    0,    0,    1,    0,    1, 0, // local 0: file_id, type (enum)
        0x00, 54,                                       // chronograph
        0x41, 0,    1,    0x01, 0x84, 2,    0,    4, 0x86,
        1,    2,    0x84,                         // local 1: big-endian shot
        0x01, 0x00, 0x04, 0x0C, 0xAF, 0x00, 0x07, // 265.391 m/s, shot 7
        0x96, 0x5C};                              // CRC
    EXPECT_EQ(imports::readFit(bytes, "hand.fit"), withShots({{265'391, 7, std::nullopt}}));
}

TEST(FitRead, CrcIsArcAndAgreesWithTheDocumentsTable)
{
    const std::string check = "123456789";
    const Bytes bytes(check.begin(), check.end());
    EXPECT_EQ(imports::fitCrc(bytes), 0xBB3D);
    const Bytes file = xeroSessionFile(40);
    EXPECT_EQ(imports::fitCrc(file), fitDocumentCrc(file.data(), file.size()));
    EXPECT_EQ(
        imports::fitCrc(std::span(file).subspan(5), imports::fitCrc(std::span(file).first(5))),
        imports::fitCrc(file));
}

TEST(FitRead, HeaderRecognisedByItsSizeAndSignature)
{
    const Bytes file = xeroSessionFile(1);
    Bytes shortHeader =
        twoShots(F::Header::Short, F::Order::Little, F::Order::Little, F::Order::Little);
    const Bytes csv = {'1', ',', '2', '8', '0', '4', '.', '0', '\n', '2', ',', '2'};
    EXPECT_TRUE(imports::isFitHeader(file));
    EXPECT_TRUE(imports::isFitHeader(std::span(shortHeader).first(12)));
    EXPECT_FALSE(imports::isFitHeader(std::span(file).first(11)));
    EXPECT_FALSE(imports::isFitHeader(csv));
    for (const std::uint8_t size : {0, 13, 16, 76}) {
        shortHeader[0] = size;
        EXPECT_FALSE(imports::isFitHeader(shortHeader)) << int(size);
    }
    shortHeader[0] = 12;
    shortHeader[9] = 'f';
    EXPECT_FALSE(imports::isFitHeader(shortHeader));
}

TEST(FitRead, HoldsUpToTheImportLimitOfShots)
{
    const Bytes most = xeroSessionFile(imports::kMaxImportShots);
    EXPECT_EQ(imports::readFit(most, "most.fit").shots.size(), imports::kMaxImportShots);

    const Bytes over = xeroSessionFile(imports::kMaxImportShots + 1);
    const auto e = thrown<imports::FitRefused>([&] { imports::readFit(over, "over.fit"); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->reason(), Reason::TooManyShots);
    // The last shot record: a header and 10 bytes before the CRC.
    EXPECT_EQ(e->byte(), over.size() - 2 - 11);
    EXPECT_EQ(e->what(), "'over.fit' is not a valid Garmin Xero FIT file (byte " +
                             std::to_string(over.size() - 13) + "): more than 65535 shots");
}

std::string refusalText(Reason reason, const std::string& path, std::size_t byte)
{
    switch (reason) {
    case Reason::Damaged:
        return "'" + path + "' is a damaged FIT file (byte " + std::to_string(byte) + ")";
    case Reason::NotChronograph:
        return "'" + path + "' is a FIT file without chronograph shots";
    default:
        return "unexpected";
    }
}

// The file, and the byte where its damage is to be found.
struct Made {
    Bytes bytes;
    std::size_t byte = 0;
};

struct RefusalCase {
    const char* name;
    Reason reason;
    std::function<Made()> make;
};

void PrintTo(const RefusalCase& c, std::ostream* out)
{
    *out << c.name;
}

class FitRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(FitRefusals, NamesTheFileAndTheByte)
{
    const RefusalCase& c = GetParam();
    const Made made = c.make();
    const auto e = thrown<imports::FitRefused>([&] { imports::readFit(made.bytes, "s.fit"); });
    ASSERT_TRUE(e) << "the file was read";
    EXPECT_EQ(e->reason(), c.reason);
    EXPECT_EQ(e->byte(), made.byte);
    EXPECT_EQ(e->path(), "s.fit");
    EXPECT_EQ(e->line(), 0u);
    EXPECT_EQ(e->what(), refusalText(c.reason, "s.fit", made.byte));
}

// A good file with one record added after the shots; the sizes and CRC fit it.
Made withRecord(const std::vector<std::uint8_t>& record, std::size_t damageInRecord = 0)
{
    F fit;
    chronographFileId(fit, 0);
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

Bytes good()
{
    return twoShots(F::Header::LongWithCrc, F::Order::Little, F::Order::Big, F::Order::Little);
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, FitRefusals,
    ::testing::Values(
        RefusalCase{"emptyFile", Reason::Damaged,
                    [] {
                        return Made{{}, 0};
                    }},
        RefusalCase{"headerSize", Reason::Damaged, [] { return changed(good(), 0, 0); }},
        RefusalCase{"signature", Reason::Damaged, [] { return changed(good(), 9, 8); }},
        RefusalCase{"headerCrc", Reason::Damaged, [] { return changed(good(), 13, 12); }},
        RefusalCase{"recordSizeInTheHeader", Reason::Damaged,
                    [] {
                        Bytes bytes = twoShots(F::Header::Short, F::Order::Little, F::Order::Little,
                                               F::Order::Little);
                        ++bytes[4];
                        return Made{bytes, bytes.size()};
                    }},
        RefusalCase{"recordByte", Reason::Damaged,
                    [] { return changed(good(), good().size() - 6, good().size() - 2); }},
        RefusalCase{"fileCrc", Reason::Damaged,
                    [] { return changed(good(), good().size() - 1, good().size() - 2); }},
        RefusalCase{"bytesAfterTheCrc", Reason::Damaged,
                    [] {
                        Bytes bytes = good();
                        bytes.push_back(0);
                        return Made{bytes, bytes.size() - 1};
                    }},
        RefusalCase{"dataPastTheEnd", Reason::Damaged,
                    [] {
                        return withRecord({0x01, 0, 0});
                    }},
        RefusalCase{"definitionCut", Reason::Damaged,
                    [] {
                        return withRecord({0x42, 0, 0, 0x84});
                    }},
        RefusalCase{"fieldsPastTheEnd", Reason::Damaged,
                    [] {
                        return withRecord({0x42, 0, 0, 0x84, 1, 2, 0, 4, 0x86, 1, 2});
                    }},
        RefusalCase{"developerFieldsPastTheEnd", Reason::Damaged,
                    [] {
                        return withRecord({0x62, 0, 0, 0x84, 1, 0, 2, 0, 1, 0});
                    }},
        RefusalCase{"undefinedLocalType", Reason::Damaged,
                    [] {
                        return withRecord({0x05, 0, 0, 0, 0});
                    }},
        RefusalCase{"compressedOfUndefinedLocalType", Reason::Damaged,
                    [] {
                        return withRecord({0xE3, 0, 0, 0, 0});
                    }},
        RefusalCase{"architecture2", Reason::Damaged,
                    [] {
                        return withRecord({0x42, 0, 2, 0x84, 1, 0}, 2);
                    }},
        RefusalCase{"fieldOfNoBytes", Reason::Damaged,
                    [] {
                        return withRecord({0x42, 0, 0, 23, 0, 2, 253, 4, 0x86, 2, 0, 2}, 10);
                    }},
        RefusalCase{"developerFieldOfNoBytes", Reason::Damaged,
                    [] {
                        return withRecord({0x62, 0, 0, 23, 0, 0, 2, 0, 1, 0, 1, 0, 0}, 11);
                    }},
        RefusalCase{"shotSpeedOf3Bytes", Reason::Damaged,
                    [] {
                        return withRecord({0x42, 0, 1, 0x01, 0x84, 1, 0, 3, 0x86}, 7);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

Made activity()
{
    F fit;
    fit.define(0, 0, {{0, 1, F::kEnum}, {1, 2, F::kUint16}});
    fit.data(0, {4, 1}); // activity
    fit.define(1, 20, {{253, 4, F::kUint32}, {0, 4, 0x85}, {1, 4, 0x85}, {3, 1, F::kUint8}});
    for (std::uint32_t i = 0; i < 20; ++i)
        fit.data(1, {kTime + i, 0x1F00'0000 + i, 0x0100'0000 + i, 140});
    fit.define(2, 18, {{253, 4, F::kUint32}, {7, 4, F::kUint32}});
    fit.data(2, {kTime + 20, 20'000});
    return {fit.file()};
}

Made chronographTypeOnly()
{
    F fit;
    chronographFileId(fit, 0);
    fit.define(1, 23, {{253, 4, F::kUint32}});
    fit.data(1, {kTime});
    return {fit.file()};
}

Made shotsOfAnotherFileType(std::uint64_t type)
{
    F fit;
    fit.define(0, 0, {{0, 1, F::kEnum}});
    fit.data(0, {type});
    fit.define(1, 388, kShotFields);
    fit.data(1, {kTime, 265'391, 1});
    return {fit.file()};
}

Made shotsWithoutFileId()
{
    F fit;
    fit.define(1, 388, kShotFields);
    fit.data(1, {kTime, 265'391, 1});
    return {fit.file()};
}

INSTANTIATE_TEST_SUITE_P(
    NotChronograph, FitRefusals,
    ::testing::Values(
        RefusalCase{"activity", Reason::NotChronograph, activity},
        RefusalCase{"chronographTypeOnly", Reason::NotChronograph, chronographTypeOnly},
        RefusalCase{"shotsInAnActivity", Reason::NotChronograph,
                    [] { return shotsOfAnotherFileType(4); }},
        RefusalCase{"shotsOfInvalidFileType", Reason::NotChronograph,
                    [] { return shotsOfAnotherFileType(0xFF); }},
        RefusalCase{"shotsWithoutFileId", Reason::NotChronograph, shotsWithoutFileId}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FitRefusal, FileCutAnywhereIsDamagedWhereItEnds)
{
    for (const Bytes& whole : {xeroSessionFile(4), twoShots(F::Header::Short, F::Order::Big,
                                                            F::Order::Big, F::Order::Little)}) {
        for (std::size_t size = 0; size < whole.size(); ++size) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
            const auto e = thrown<imports::FitRefused>([&] { imports::readFit(cut, "c.fit"); });
            ASSERT_TRUE(e) << size;
            EXPECT_EQ(e->reason(), Reason::Damaged) << size;
            EXPECT_EQ(e->byte(), size);
        }
    }
}

// As a writer that stopped mid-record and still closed the file: the sizes and the CRC fit.
// Cut between records the file is good and holds the shots before the cut.
TEST(FitRefusal, RecordsCutAnywhereAreDamagedOrAPrefix)
{
    const Bytes whole = xeroSessionFile(4);
    const FitSession all = imports::readFit(whole, "w.fit");
    std::size_t read = 0;
    for (std::size_t size = 14; size < whole.size() - 2; ++size) {
        Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        cut.resize(size + 2);
        cut = resealFit(std::move(cut));
        try {
            const FitSession session = imports::readFit(cut, "c.fit");
            ASSERT_LE(session.shots.size(), all.shots.size());
            EXPECT_TRUE(std::equal(session.shots.begin(), session.shots.end(), all.shots.begin()))
                << size;
            ++read;
        } catch (const imports::FitRefused& e) {
            if (e.reason() == Reason::Damaged) {
                EXPECT_GE(e.byte(), 14u) << size;
                EXPECT_LT(e.byte(), size) << size;
            } else {
                EXPECT_EQ(e.reason(), Reason::NotChronograph) << size;
            }
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
    EXPECT_EQ(imports::readFitFile(dir.file("06-18-2024_15-47-11.fit")), xeroRead(3));

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
    EXPECT_EQ(tooLarge->reason(), Reason::TooLarge);
    EXPECT_EQ(tooLarge->what(),
              "'" + large + "' is too large for a chronograph FIT file (more than 16 MiB)");

    ASSERT_EQ(::mkfifo(dir.file("pipe.fit").c_str(), 0600), 0);
    EXPECT_THROW(imports::readFitFile(dir.file("pipe.fit")), rt::NotRegularFile);
    const auto missing =
        thrown<rt::InOutError>([&] { imports::readFitFile(dir.file("missing.fit")); });
    ASSERT_TRUE(missing);
    EXPECT_STREQ(missing->what(), "File not found");
}

} // namespace
