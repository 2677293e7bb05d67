#include "ui/errorreport.h"

#include "table/currentfile.h"
#include "ui/prompts.h"
#include "ui/qtext.h"

#include <QApplication>
#include <QString>

#include <stdexcept>

namespace ui {

void reportException(std::exception_ptr error, QWidget* parent)
{
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    if (!parent)
        parent = QApplication::activeWindow();
    try {
        prompts().message(parent, toQString(table::kProgramTitle), text, MessageIcon::Critical,
                          MessageButtons::Ok);
    } catch (...) {
        // The report itself must never become a new unhandled error.
    }
}

} // namespace ui
