#include "runtime/errors.h"
#include "support/ui/scriptedprompter.h"
#include "ui/errorreport.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// An object whose events throw, as a handler bound without the guard would.
class Throwing : public QObject {
protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw rt::ConvertError("'x' is not a valid integer value");
        return QObject::event(e);
    }
};

TEST(ErrorReport, GuardedHandlerReportsAndTheProgramGoesOn)
{
    ScriptedPrompter prompter;
    QPushButton button;
    int after = 0;
    QObject::connect(&button, &QPushButton::clicked, ui::guarded([&] {
        throw rt::InOutError(ENOENT);
        ++after;
    }));
    QObject::connect(&button, &QPushButton::clicked, [&] { ++after; });
    button.click();
    button.click();
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].caption, "Vexorel!");
    EXPECT_EQ(prompter.messages[0].text, "File not found");
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::Critical);
    EXPECT_EQ(prompter.messages[0].buttons, ui::MessageButtons::Ok);
    EXPECT_EQ(after, 2) << "other handlers of the same signal still run";
}

TEST(ErrorReport, ExceptionLeavingAnEventIsCaughtByTheApplication)
{
    ScriptedPrompter prompter;
    Throwing target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    bool ranAfter = false;
    QTimer::singleShot(0, [&] { ranAfter = true; });
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "'x' is not a valid integer value");
    EXPECT_TRUE(ranAfter);
}

TEST(ErrorReport, NonStandardExceptionStillGetsAReport)
{
    ScriptedPrompter prompter;
    ui::guarded([] { throw 42; })();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_FALSE(prompter.messages[0].text.isEmpty());
}

} // namespace
