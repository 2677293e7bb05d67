#include "help/taboutbox.h"
#include "help/thelpform.h"
#include "runtime/decimalseparator.h"
#include "runtime/errors.h"
#include "runtime/numberformat.h"
#include "serial/openfailure.h"
#include "stats/confidencetexts.h"
#include "table/shotstatistics.h"
#include "table/stringdetails.h"
#include "table/units.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace {

QPlainTextEdit* memoOf(const THelpForm& form, int index)
{
    return form.pages()->widget(index)->findChild<QPlainTextEdit*>();
}

QString pageText(const THelpForm& form, const QString& caption)
{
    for (int i = 0; i < form.pages()->count(); ++i) {
        if (form.pages()->tabText(i) == caption)
            return memoOf(form, i)->toPlainText();
    }
    ADD_FAILURE() << "no page " << caption.toStdString();
    return {};
}

// A factor as the help writes it: all its digits, with a decimal comma.
QString factorText(double factor)
{
    return QString::number(factor, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString inGuillemets(std::string_view text)
{
    return QStringLiteral("«%1»").arg(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

// Runs the box modally and lets `action` act on it once exec() is spinning. A box that
// ignores the action is ended with -1 instead of hanging the test run.
int execWith(TAboutBox& box, const std::function<void()>& action)
{
    QTimer::singleShot(0, &box, action);
    QTimer::singleShot(5000, &box, [&box] { box.done(-1); });
    return box.exec();
}

} // namespace

TEST(HelpForm, HasTheSixPagesInOrderWithTheFirstActive)
{
    THelpForm form;
    const QStringList captions = {
        QStringLiteral("Хронограф"), QStringLiteral("Пули"),          QStringLiteral("Измерения"),
        QStringLiteral("Графики"),   QStringLiteral("Ед. измерения"), QStringLiteral("Статистика"),
    };
    ASSERT_EQ(form.pages()->count(), captions.size());
    EXPECT_EQ(form.pages()->currentIndex(), 0);
    for (int i = 0; i < captions.size(); ++i) {
        SCOPED_TRACE(captions[i].toStdString());
        EXPECT_EQ(form.pages()->tabText(i), captions[i]);
        QPlainTextEdit* memo = memoOf(form, i);
        ASSERT_NE(memo, nullptr);
        EXPECT_FALSE(memo->toPlainText().trimmed().isEmpty());
        EXPECT_EQ(memo->accessibleName(), captions[i]);
    }
}

TEST(HelpForm, UnitsPageDescribesTheUnitsMenuAndTheProgramsFactors)
{
    THelpForm form;
    const QString text = pageText(form, QStringLiteral("Ед. измерения"));
    // The page once said feet per second were not provided.
    EXPECT_FALSE(text.contains(QStringLiteral("не предусмотрены")));

    for (const char* named :
         {"View › Units", "«Metric (m/s, J, g)»", "«Imperial (ft/s, ft·lbf, gr)»", "«V (ft/s)»",
          "«E (ft·lbf)»", "«m (gr)»", "«Shot statistics»"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(named))) << named;
    }
    // Saving in Imperial writes the Metric file.
    EXPECT_TRUE(text.contains(QStringLiteral("не изменяет ни одного файла")));

    // The factors the reader is told are the ones the program converts with.
    EXPECT_TRUE(
        text.contains(QStringLiteral("1 ft/s = %1 м/с").arg(factorText(table::kMetresPerFoot))));
    EXPECT_TRUE(text.contains(
        QStringLiteral("1 ft·lbf = %1 Дж").arg(factorText(table::kJoulesPerFootPound))));
    EXPECT_TRUE(
        text.contains(QStringLiteral("1 gr = %1 г").arg(factorText(table::kGramsPerGrain))));
}

TEST(HelpForm, StatisticsPageNamesThePanelItsFiguresAndWhatTheyShow)
{
    THelpForm form;
    const QString text = pageText(form, QStringLiteral("Статистика"));

    for (const char* named : {"«Statistics»", "«Shot statistics»", "View › Shot Statistics"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(named))) << named;
    // Each caption opens a line of its own list, so "ES" is not found inside "Selected ES".
    for (const char* caption : {"Shots", "Mean", "ES", "SD (n−1)", "CV", "Median", "Selected shots",
                                "Selected mean", "Selected ES", "Selected SD (n−1)"}) {
        EXPECT_TRUE(text.contains(QStringLiteral("• %1 — ").arg(QString::fromUtf8(caption))))
            << caption;
    }
    for (std::string_view caption : {table::kAllRowsCaptions.populationDeviation,
                                     table::kSelectionCaptions.populationDeviation}) {
        EXPECT_TRUE(text.contains(QStringLiteral("• %1 — ").arg(QString::fromUtf8(caption))))
            << caption;
    }

    // What the panel really shows for a lone shot and for rows it leaves out.
    EXPECT_TRUE(text.contains(inGuillemets(table::kNoFigure)));
    table::ShotStatistics twoLeftOut;
    twoLeftOut.withoutVelocity = 2;
    EXPECT_TRUE(
        text.contains(inGuillemets(table::formatShotStatistics(twoLeftOut).withoutVelocity)));
}

// The confidence section's figures, examples and lines are the program's own, as it words them.
TEST(HelpForm, StatisticsPageExplainsConfidenceWithTheProgramsFigures)
{
    THelpForm form;
    const QString text = pageText(form, QStringLiteral("Статистика"));
    const auto q = [](const std::string& s) { return QString::fromStdString(s); };
    rt::setDecimalSeparator(',');

    for (const auto& [sd, shown] :
         {std::pair{2.74, "Mean"}, std::pair{2.74, "SD"}, std::pair{8.2, "SD"}}) {
        stats::ConfidenceFigures f;
        f.meanRange = stats::meanInterval(stats::MeanAndSd{10, 851.7, sd}, f.level);
        f.sdRange = stats::sdInterval(stats::MeanAndSd{10, 851.7, sd}, f.level);
        const stats::ConfidenceTexts t =
            stats::formatConfidence(f, stats::kAllShotsConfidence, "m/s", "");
        const bool mean = std::string_view(shown) == "Mean";
        const QString example =
            mean ? q(t.meanCaption + ": " + t.meanRange) : q(t.sdCaption + ": " + t.sdRange);
        EXPECT_TRUE(text.contains("«" + example + "»")) << example.toStdString();
        EXPECT_TRUE(
            text.contains(QStringLiteral("• %1 — ").arg(mean ? q(t.meanCaption) : q(t.sdCaption))));
    }
    EXPECT_TRUE(text.contains(QStringLiteral("• Selected mean 95 % и Selected SD 95 % — ")));
    EXPECT_TRUE(text.contains(QStringLiteral("• Shots for ±x — ")));

    // The spread of ten shots' SD, in whole per cent either way.
    const auto ten = stats::sdInterval(stats::MeanAndSd{10, 0, 1}, 0.95).value();
    const auto thirty = stats::sdInterval(stats::MeanAndSd{30, 0, 1}, 0.95).value();
    EXPECT_TRUE(text.contains(QStringLiteral("от −%1 % до +%2 %")
                                  .arg(qRound((1 - ten.low) * 100))
                                  .arg(qRound((ten.high - 1) * 100))));
    EXPECT_TRUE(text.contains(QStringLiteral("−%1 % … +%2 %")
                                  .arg(qRound((1 - thirty.low) * 100))
                                  .arg(qRound((thirty.high - 1) * 100))));

    // The flyer line both ways, and the dash of too few shots.
    stats::ConfidenceFigures flyer;
    flyer.grubbs = stats::GrubbsResult{6, 2.5, 2.29, true};
    EXPECT_TRUE(text.contains(inGuillemets(
        stats::formatConfidence(flyer, stats::kAllShotsConfidence, "m/s", "7").flyer)));
    flyer.grubbs->outlier = false;
    EXPECT_TRUE(text.contains(
        inGuillemets(stats::formatConfidence(flyer, stats::kAllShotsConfidence, "m/s", "").flyer)));
    EXPECT_TRUE(text.contains(inGuillemets(stats::kNoConfidenceFigure)));
    for (const char* named : {"View › Confidence", "«Distribution (V)»", "Grubbs"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(named))) << named;
}

// The numbers the pages give as examples are the program's own.
TEST(HelpForm, ExamplesAreWhatTheProgramComputes)
{
    THelpForm form;
    const QString units = pageText(form, QStringLiteral("Ед. измерения"));
    const QString pellet = QString::fromStdString(table::weightFieldGrains("0,547").value_or(""));
    const QString typed =
        QString::fromStdString(table::weightFieldGrams(pellet.toStdString()).value_or(""));
    EXPECT_EQ(pellet, "8,4");
    EXPECT_EQ(typed, "0,544");
    EXPECT_TRUE(units.contains(QStringLiteral("0,547 г показывается как %1 gr").arg(pellet)));
    EXPECT_TRUE(units.contains(QStringLiteral("%1 gr — это %2 г").arg(pellet, typed)));
    EXPECT_TRUE(units.contains(QStringLiteral("(%1, %2)")
                                   .arg(QString::fromStdString(rt::formatEnergy(999.5)),
                                        QString::fromStdString(rt::formatEnergy(1504.2)))));

    // The charts leave the program by more ways than their own menu's.
    const QString charts = pageText(form, QStringLiteral("Графики"));
    for (const char* way : {"BMP", "WMF", "PNG", "SVG", "PDF", "File › Print Report..."})
        EXPECT_TRUE(charts.contains(QString::fromUtf8(way))) << way;
}

TEST(HelpForm, PagesTellHowToReachThePortAndWhereTheInstalledProgramKeepsItsList)
{
    THelpForm form;
    // The command the program's own message gives for a port it may not open, on a line of
    // its own so it can be copied.
    const std::string reason = openFailureReason("/dev/ttyUSB0", EACCES, "dialout");
    const std::size_t open = reason.find('"');
    const std::size_t close = reason.rfind('"');
    ASSERT_LT(open, close) << reason;
    const QString command = QString::fromStdString(reason.substr(open + 1, close - open - 1));
    EXPECT_EQ(command, "sudo usermod -aG dialout $USER");
    const QString chronograph = pageText(form, QStringLiteral("Хронограф"));
    EXPECT_TRUE(chronograph.contains("\n" + command + "\n"));
    EXPECT_TRUE(chronograph.contains(QStringLiteral("войдите снова")));

    const QString bullets = pageText(form, QStringLiteral("Пули"));
    EXPECT_TRUE(bullets.contains(QStringLiteral("~/Vexorel")));
    // The first line of the report at a start without a list, as the program words it.
    EXPECT_TRUE(bullets.contains(inGuillemets(rt::ioErrorText(ENOENT))));
    EXPECT_FALSE(bullets.contains(QStringLiteral("исполняемый файл")));
}

TEST(HelpForm, TextsIgnoreTyping)
{
    THelpForm form;
    form.show();
    for (int i = 0; i < form.pages()->count(); ++i) {
        form.pages()->setCurrentIndex(i);
        QPlainTextEdit* memo = memoOf(form, i);
        const QString before = memo->toPlainText();
        QTest::keyClicks(memo, QStringLiteral("xyz"));
        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(memo, Qt::Key_Delete);
        QTest::keyClick(memo, Qt::Key_Backspace);
        QTest::keyClick(memo, Qt::Key_Return);
        EXPECT_EQ(memo->toPlainText(), before) << "page " << i;
    }
}

TEST(HelpForm, ReopensWhereTheReaderLeftIt)
{
    QWidget mainWindow;
    auto* form = new THelpForm(&mainWindow);
    QPointer<THelpForm> guard(form);
    form->show();
    // QDialog recentres over its parent on show unless the position was set on purpose.
    EXPECT_EQ(form->pos(), QPoint(80, 105));

    form->resize(300, 150);
    form->pages()->setCurrentIndex(3);
    QApplication::processEvents();
    QScrollBar* scroll = memoOf(*form, 3)->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0);
    scroll->setValue(scroll->maximum());
    const int scrolledTo = scroll->value();

    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(guard.isNull());
    EXPECT_TRUE(form->isHidden());

    form->show();
    QApplication::processEvents();
    EXPECT_EQ(form->pages()->currentIndex(), 3);
    EXPECT_EQ(scroll->value(), scrolledTo);
    EXPECT_EQ(form->pos(), QPoint(80, 105));
}

TEST(AboutBox, LooksAsDesigned)
{
    TAboutBox box;
    box.show(); // the logo is drawn when first shown
    auto* icon = box.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().toImage().isNull()) << "the icon resource is bundled";

    for (const char* name : {"ProgramIcon", "ProductName", "Version", "Memo1", "OKButton"}) {
        auto* widget = box.findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << name;
    }

    box.show();
    const QPoint screenCentre = box.screen()->availableGeometry().center();
    EXPECT_LE((box.frameGeometry().center() - screenCentre).manhattanLength(), 2);
}

TEST(AboutBox, ClosesModallyWithTheRightResult)
{
    TAboutBox box;
    auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));

    EXPECT_EQ(execWith(box, [&box] { QTest::keyClick(&box, Qt::Key_Return); }), QDialog::Accepted);
    EXPECT_TRUE(box.isHidden());
    EXPECT_EQ(execWith(box, [ok] { QTest::mouseClick(ok, Qt::LeftButton); }), QDialog::Accepted);
    EXPECT_EQ(execWith(box, [&box] { QTest::keyClick(&box, Qt::Key_Escape); }), QDialog::Rejected);
}

TEST(AboutBox, KeepsTheUsersScribblesButReturnsFocusToOk)
{
    TAboutBox box;
    auto* memo = box.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
    box.show();
    EXPECT_EQ(box.focusWidget(), ok);

    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(memo, QStringLiteral("my notes"));
    const QString typed = memo->toPlainText();
    EXPECT_TRUE(typed.endsWith(QStringLiteral("my notes")));

    box.close();
    box.show();
    EXPECT_EQ(memo->toPlainText(), typed);
    // Otherwise Enter would land in the memo as a new line instead of pressing OK.
    EXPECT_EQ(box.focusWidget(), ok);
}

// The session help names the commands and flags as the program spells them.
TEST(HelpForm, SessionHelpNamesTheFlagsAndTheExcludedShotsAsShown)
{
    THelpForm form;
    const QString page = pageText(form, QStringLiteral("Измерения"));
    for (const std::string_view flag : table::kShotFlags)
        EXPECT_TRUE(page.contains(QString::fromUtf8(flag.data(), qsizetype(flag.size())))) << flag;
    table::ShotStatistics s;
    s.shots = 9;
    s.excluded = 1;
    EXPECT_TRUE(page.contains(inGuillemets(table::formatShotStatistics(s).excluded)));
    for (const char* item :
         {"Exclude from Statistics", "Include in Statistics", "Shot Details", "vxs", "vxm"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(item))) << item;
}
