#include "support/ui/mainwindowfixture.h"

#include "app/forms.h"
#include "app/tform1.h"
#include "runtime/decimalseparator.h"
#include "table/currentfile.h"

#include <QLabel>
#include <QPushButton>

void MainWindowTest::start(const std::optional<std::string>& bulletFile, const char* name)
{
    if (bulletFile)
        dir.write(name, *bulletFile);
    cwd = std::make_unique<CurrentDir>(dir.path());
    createForms(startNote);
    QObject::connect(Form1->Button1, &QPushButton::clicked, [this] { ++redraws; });
}

void MainWindowTest::TearDown()
{
    destroyForms();
    cwd.reset();
    table::setCurrentFileName("");
    table::setUnsavedChanges(false);
    rt::setDecimalSeparator(',');
}

void MainWindowTest::fillVelocities(const std::vector<const char*>& velocities,
                                    const std::string& weight)
{
    table::StringGrid& t = Form1->table();
    t.setRowCount(velocities.size() + 1);
    for (std::size_t i = 0; i < velocities.size(); ++i) {
        t.setCell(0, i + 1, std::to_string(i + 1));
        t.setCell(1, i + 1, velocities[i]);
        Form1->applyEnergyRule(i + 1, weight);
    }
}

std::vector<std::string> MainWindowTest::column(std::size_t col) const
{
    std::vector<std::string> cells;
    for (std::size_t r = 1; r < Form1->table().rowCount(); ++r)
        cells.emplace_back(Form1->table().cell(col, r));
    return cells;
}

QStringList MainWindowTest::labels() const
{
    return {Form1->VmaxLabel->text(), Form1->VminLabel->text(), Form1->VaLabel->text(),
            Form1->EmaxLabel->text(), Form1->EminLabel->text(), Form1->EaLabel->text()};
}
