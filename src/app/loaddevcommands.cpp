// View › Load Development: the main window opens the load-development window, lends it the
// current string and its units, and asks it before the program closes.
#include "app/tform1.h"
#include "loaddev/loaddevwindow.h"

void TForm1::LoadDevelopment1Click()
{
    loaddev::LoadDevWindow* window = loadDevelopment();
    window->show();
    window->raise();
    window->activateWindow();
}

loaddev::LoadDevWindow* TForm1::loadDevelopment()
{
    if (!m_loadDevelopment) {
        m_loadDevelopment = new loaddev::LoadDevWindow(this);
        m_loadDevelopment->setCurrentStringSource([this] {
            return loaddev::StringSource{&m_table, m_details};
        });
        m_loadDevelopment->setUnits(m_units);
        m_loadDevelopment->setConfidenceLevel(m_confidence / 100.0);
    }
    return m_loadDevelopment;
}

void TForm1::openLoadTest(const QString& path)
{
    loaddev::LoadDevWindow* window = loadDevelopment();
    if (!window->mayClose())
        return;
    LoadDevelopment1Click();
    window->openFile(path);
}

bool TForm1::loadDevelopmentMayClose()
{
    return !m_loadDevelopment || m_loadDevelopment->mayClose();
}
