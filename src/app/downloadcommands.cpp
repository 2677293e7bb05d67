// The download from the chronograph: Load!/Stop, the received characters, and the
// conversion once the line has been silent for 100 ms.

#include "app/tform1.h"
#include "runtime/errors.h"
#include "serial/comerror.h"
#include "serial/comport.h"
#include "serial/openfailure.h"
#include "table/currentfile.h"
#include "table/download.h"
#include "ui/qtext.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

// EComPort's code for a device that would not open.
constexpr int kUnableToOpen = 1;

// Rethrows a failure to open the port; one of the device itself gains a second line that
// says, in words, which device and why.
[[noreturn]] void throwExplained(std::exception_ptr error, const std::string& port)
{
    try {
        std::rethrow_exception(error);
    } catch (const EComPort& e) {
        if (e.Code() != kUnableToOpen)
            throw;
        throw rt::Exception(std::string(e.what()) + '\n' + explainOpenFailure(port, e.WinCode()));
    }
}

} // namespace

void TForm1::showLoadButton(bool loading)
{
    BitBtn1->setText(loading ? QStringLiteral("Stop") : QStringLiteral("Load!"));
    QPalette palette = BitBtn1->palette();
    palette.setColor(QPalette::ButtonText, loading ? QColor(Qt::red) : QColor(0xE0, 0xC0, 0x00));
    BitBtn1->setPalette(palette);
}

void TForm1::showSessionIdle(const char* status)
{
    Label1->setText(QString::fromUtf8(status));
    showLoadButton(false);
    Button2->setEnabled(true);
}

void TForm1::BitBtn1Click()
{
    if (ComPort->Connected()) {
        showSessionIdle("Stoped.");
        ComPort->Close();
        return;
    }
    const QString statusBefore = Label1->text();
    Label1->setText(QStringLiteral("Waiting..."));
    showLoadButton(true);
    Button2->setEnabled(false);
    try {
        ComPort->Open();
    } catch (...) {
        // The port stayed closed: no session began, so nothing may say one is waiting.
        Label1->setText(statusBefore);
        showLoadButton(false);
        Button2->setEnabled(true);
        throwExplained(std::current_exception(), ComPort->Port());
    }
}

void TForm1::ComTerminalChar(char ch)
{
    Timer->setInterval(kSilenceMs);
    Timer->stop();
    Label1->setText(QStringLiteral("Loading..."));
    m_reception.addChar(ch);
    Timer->start();
}

void TForm1::Button2Click()
{
    ComPort->ShowSetupDialog();
}

void TForm1::TimerTimer()
{
    showSessionIdle("Loaded.");
    ComPort->Close();
    Timer->stop();
    const std::vector<std::string> lines = m_reception.takeLines();
    const bool firstShots = table::isEmpty(m_table);
    if (table::appendShots(m_table, lines, weightText(),
                           ui::toStdString(ComboBox1->currentText())) > 0) {
        table::setUnsavedChanges(true);
        if (firstShots)
            noteDownloadTime();
    }
    deviationPass(statisticsPass());
    redraw();
}
