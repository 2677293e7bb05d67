#include "app/forms.h"
#include "app/shotstatisticspanel.h"
#include "app/tform1.h"
#include "runtime/decimalseparator.h"
#include "session/ui/sessiondock.h"
#include "support/ui/mainwindowfixture.h"
#include "ui/gridview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QTest>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

// Every text of the main window against the room its widget gives it, measured as the style
// lays the widget out.
namespace {

// A text that does not fit its widget: what it needs against what it has.
struct Clipped {
    QString widget;
    QString text;
    int needed;
    int room;
};

QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
}

// Room and need of the one text a widget shows, as its style lays it out; nothing for a
// widget that shows none or wraps it.
std::optional<Clipped> measure(QWidget* w)
{
    QStyle* style = w->style();
    const QFontMetrics fm = w->fontMetrics();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty())
            return std::nullopt;
        if (label->wordWrap()) {
            const int height = label->heightForWidth(label->contentsRect().width());
            return Clipped{nameOf(w), label->text(), height, label->contentsRect().height()};
        }
        const int room =
            label->contentsRect().width() - 2 * label->margin() - std::max(label->indent(), 0);
        return Clipped{nameOf(w), label->text(), fm.horizontalAdvance(label->text()), room};
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        int margins = style->pixelMetric(QStyle::PM_ButtonMargin, &option, w);
        if (qobject_cast<QCheckBox*>(w)) {
            contents = QStyle::SE_CheckBoxContents;
            margins = 0;
        } else if (qobject_cast<QRadioButton*>(w)) {
            contents = QStyle::SE_RadioButtonContents;
            margins = 0;
        }
        const int room = style->subElementRect(contents, &option, w).width();
        return Clipped{nameOf(w), button->text(), fm.horizontalAdvance(button->text()) + margins,
                       room};
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, w);
        const QMargins text = edit->textMargins();
        // QLineEdit keeps two pixels between its frame and its text on either side.
        const int room = style->subElementRect(QStyle::SE_LineEditContents, &option, w).width() -
                         4 - text.left() - text.right();
        return Clipped{nameOf(w), edit->displayText(), fm.horizontalAdvance(edit->displayText()),
                       room};
    }
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, w);
        return Clipped{nameOf(w), box->title(), title.right() + 1, box->width()};
    }
    return std::nullopt;
}

class Layout : public MainWindowTest,
               public ::testing::WithParamInterface<std::pair<const char*, char>> {
protected:
    void TearDown() override
    {
        MainWindowTest::TearDown();
        QLocale::setDefault(QLocale::c());
    }
};

// A rifle's string in the locale's numbers: four-digit figures in ft/s and ft·lbf, as
// wide as the labels, the panel and the weight field ever get for a rifle.
TEST_P(Layout, NoTextOfTheMainWindowIsClippedAtItsDesignedSize)
{
    const auto [locale, separator] = GetParam();
    QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
    rt::setDecimalSeparator(separator);
    start("308 Win 200 gr Berger Hybrid\r\n12,960\r\n");
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    std::vector<std::string> velocities = {"918,5", "905,25", "911,05", "899,75", "915,5"};
    std::vector<const char*> texts;
    for (std::string& v : velocities) {
        std::replace(v.begin(), v.end(), ',', separator);
        texts.push_back(v.c_str());
    }
    fillVelocities(texts, "12,960");
    Form1->deviationPass(Form1->statisticsPass());
    Form1->Grid->selectRows(1, 3);
    // Each of the tabbed docks in front once.
    for (QDockWidget* dock : {static_cast<QDockWidget*>(Form1->ShotStatisticsDock),
                              static_cast<QDockWidget*>(Form1->SessionDock1)}) {
        dock->raise();
        QApplication::processEvents();
        for (QAction* units : {Form1->Metric1, Form1->Imperial1}) {
            units->trigger();
            QApplication::processEvents();
            for (QWidget* w : Form1->findChildren<QWidget*>()) {
                // A dock behind another's tab is moved out of sight, not hidden.
                if (!w->isVisible() || w->visibleRegion().isEmpty() || w->window() != Form1)
                    continue;
                const auto m = measure(w);
                if (!m)
                    continue;
                const std::string where = units->text().toStdString() + ": " +
                                          m->widget.toStdString() + " \"" + m->text.toStdString() +
                                          "\"";
                EXPECT_LE(m->needed, m->room) << where;
                // Nor does the window's edge cut it.
                EXPECT_TRUE(Form1->rect().contains(QRect(w->mapTo(Form1, QPoint(0, 0)), w->size())))
                    << where;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, Layout,
                         ::testing::Values(std::pair{"ru_RU", ','}, std::pair{"en_US", '.'}),
                         [](const auto& info) { return std::string(info.param.first); });

} // namespace
