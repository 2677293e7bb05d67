// The help's section on load development against the program: the commands it names exist
// under those names, and its examples are what the window says.
#include "help/thelpform.h"
#include "loaddev/loaddevwindow.h"
#include "runtime/decimalseparator.h"
#include "session/laddertexts.h"
#include "session/stringcomparison.h"
#include "support/stringrows.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QString statisticsPage()
{
    THelpForm form;
    for (int i = 0; i < form.pages()->count(); ++i) {
        if (form.pages()->tabText(i) == QStringLiteral("Статистика"))
            return form.pages()->widget(i)->findChild<QPlainTextEdit*>()->toPlainText();
    }
    return {};
}

// "Strings › Add Current String" for each item of the window's menus.
QStringList menuPaths(const QMenuBar* bar)
{
    QStringList paths;
    const std::function<void(const QMenu*, const QString&)> walk = [&](const QMenu* menu,
                                                                       const QString& path) {
        for (const QAction* action : menu->actions()) {
            const QString item =
                path + QStringLiteral(" \u203A ") + QString(action->text()).remove('&');
            if (action->menu())
                walk(action->menu(), item);
            else if (!action->isSeparator())
                paths << item;
        }
    };
    for (const QAction* top : bar->actions())
        walk(top->menu(), QString(top->text()).remove('&'));
    return paths;
}

session::LoadTestString symmetricString(double sd)
{
    // Five shots each side of 850: SD = a·√(10/9).
    const double a = sd * std::sqrt(0.9);
    std::vector<Row> rows;
    for (int i = 0; i < 10; ++i) {
        char velocity[32];
        std::snprintf(velocity, sizeof velocity, "%.6f", 850 + (i % 2 ? a : -a));
        rows.push_back({std::to_string(i + 1), velocity});
    }
    return session::makeString(tableOf(rows), {}, {});
}

TEST(LoadDevelopmentHelp, NamesTheCommandsAndGivesWhatTheProgramSays)
{
    rt::setDecimalSeparator(',');
    const QString help = statisticsPage();
    ASSERT_FALSE(help.isEmpty());

    loaddev::LoadDevWindow window;
    const QStringList paths = menuPaths(window.menuBar());
    for (const char* named :
         {"Strings \u203A Add Current String", "Strings \u203A Add Strings from Files...",
          "Strings \u203A Split Round-Robin...", "File \u203A Export \u203A Report as PDF...",
          "File \u203A Print Report...", "File \u203A Export \u203A Table as CSV...",
          "View \u203A Bars from Lowest to Highest Shot (ES)", "File \u203A Save"}) {
        const QString path = QString::fromUtf8(named);
        EXPECT_TRUE(paths.contains(path)) << named;
        // The help names the last step or the whole path.
        EXPECT_TRUE(help.contains(path) || help.contains(path.section(" \u203A ", -1))) << named;
    }
    EXPECT_TRUE(help.contains(QStringLiteral("«%1»").arg(window.CompareButton->text())));

    // Ten shots each with SDs of 8,2 and 11,0.
    session::LoadTest test;
    test.strings = {symmetricString(8.2), symmetricString(11.0)};
    test.strings[0].value = "40";
    test.strings[1].value = "41";
    const session::LadderFigures figures = session::ladderFigures(test, 0.95, table::Units::Metric);
    const std::string sentence = session::compareStrings(figures, 0, 1).sdSentence;
    EXPECT_EQ(sentence, "SD 8,2 vs 11,0 is not a shown difference (p = 0,39)");
    EXPECT_TRUE(help.contains(QStringLiteral("«%1»").arg(QString::fromStdString(sentence))));
}

} // namespace
