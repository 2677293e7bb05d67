// The installed measurement file type, as Qt programs and file managers look it up. Run by
// scripts/check-package.sh with XDG_DATA_DIRS naming only a staged install's share folder,
// after update-mime-database built its database there.

#include "support/tempdir.h"

#include <QMimeDatabase>

#include <gtest/gtest.h>

#include <string>

namespace {

const char kType[] = "application/x-vexorel-measurements";

// Names as text, so a failure shows them.
std::string typeOf(const QMimeDatabase& db, const QString& file,
                   QMimeDatabase::MatchMode mode = QMimeDatabase::MatchDefault)
{
    return db.mimeTypeForFile(file, mode).name().toStdString();
}

TEST(MeasurementFileType, IsKnownAsTextNamedByItsExtension)
{
    const QMimeDatabase db;
    const QMimeType type = db.mimeTypeForName(QString::fromUtf8(kType));
    ASSERT_TRUE(type.isValid()) << "XDG_DATA_DIRS=" << qgetenv("XDG_DATA_DIRS").toStdString();
    EXPECT_EQ(type.globPatterns().join(' ').toStdString(), "*.vxm");
    EXPECT_EQ(type.comment().toStdString(), "Vexorel! measurements");
    EXPECT_TRUE(type.inherits(QStringLiteral("text/plain")));
}

TEST(MeasurementFileType, MatchesSessionFilesByNameInEitherCaseAndNothingElse)
{
    const QMimeDatabase db;
    for (const char* name : {"shots.vxm", "SHOTS.VXM", "/home/u/Vexorel/2026-12-08.vxm"})
        EXPECT_EQ(typeOf(db, QString::fromUtf8(name), QMimeDatabase::MatchExtension), kType);
    for (const char* name : {"shots.vxm.bak", "shots.csv", "Bullets.vx!"})
        EXPECT_NE(typeOf(db, QString::fromUtf8(name), QMimeDatabase::MatchExtension), kType);

    // A real file: its text content does not outvote its name.
    const TempDir dir;
    dir.write("s.vxm", "1\r\n300\r\n5,4\r\n0,120\r\nJSB\r\n0,00\r\n");
    EXPECT_EQ(typeOf(db, QString::fromStdString(dir.file("s.vxm"))), kType);
}

// Session files: JSON named by their extension, opened by the program too.
TEST(SessionFileType, IsKnownAsJsonNamedByItsExtension)
{
    const QMimeDatabase db;
    const QString session = QStringLiteral("application/x-vexorel-session");
    const QMimeType type = db.mimeTypeForName(session);
    ASSERT_TRUE(type.isValid());
    EXPECT_EQ(type.globPatterns().join(' ').toStdString(), "*.vxs");
    EXPECT_TRUE(type.inherits(QStringLiteral("application/json")));
    for (const char* name : {"string.vxs", "STRING.VXS"})
        EXPECT_EQ(typeOf(db, QString::fromUtf8(name), QMimeDatabase::MatchExtension),
                  session.toStdString());
}

// Load tests: JSON named by their extension; the file argument opens them in Load Development.
TEST(LoadTestFileType, IsKnownAsJsonNamedByItsExtension)
{
    const QMimeDatabase db;
    const QString loadTest = QStringLiteral("application/x-vexorel-loadtest");
    const QMimeType type = db.mimeTypeForName(loadTest);
    ASSERT_TRUE(type.isValid());
    EXPECT_EQ(type.globPatterns().join(' ').toStdString(), "*.vxl");
    EXPECT_EQ(type.comment().toStdString(), "Vexorel! load test");
    EXPECT_TRUE(type.inherits(QStringLiteral("application/json")));
    for (const char* name : {"ladder.vxl", "LADDER.VXL"})
        EXPECT_EQ(typeOf(db, QString::fromUtf8(name), QMimeDatabase::MatchExtension),
                  loadTest.toStdString());
    EXPECT_NE(typeOf(db, QStringLiteral("ladder.vxs"), QMimeDatabase::MatchExtension),
              loadTest.toStdString());

    // A real file: named so, its JSON content does not outvote its name.
    const TempDir dir;
    dir.write("t.vxl", "{\"format\": \"vexorel-loadtest\", \"version\": 1, \"strings\": []}\n");
    EXPECT_EQ(typeOf(db, QString::fromStdString(dir.file("t.vxl"))), loadTest.toStdString());
}

} // namespace
