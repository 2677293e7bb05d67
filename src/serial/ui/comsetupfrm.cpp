#include "serial/ui/comsetupfrm.h"

#include "serial/comport.h"
#include "serial/ui/comcombobox.h"
#include "ui/designfont.h"
#include "ui/errorreport.h"
#include "ui/prompts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

TComSetupFrm::TComSetupFrm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ComSetupFrm"));
    setWindowTitle(QStringLiteral("Setup"));
    setFont(ui::designFont());
    setFixedSize(231, 216);

    GroupBox1 = new QGroupBox(QStringLiteral(" Settings "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 217, 169);

    struct Row {
        QLabel*& label;
        TComComboBox*& combo;
        const char* text;
        TComProperty property;
    };
    const Row rows[] = {
        {Label1, Combo1, "Port", cpPort},          {Label2, Combo2, "Baud rate", cpBaudRate},
        {Label3, Combo3, "Data bits", cpDataBits}, {Label4, Combo4, "Stop bits", cpStopBits},
        {Label5, Combo5, "Parity", cpParity},      {Label6, Combo6, "Flow control", cpFlowControl}};
    int n = 1;
    for (const Row& row : rows) {
        const int top = 16 + 24 * (n - 1);
        row.label = new QLabel(QString::fromUtf8(row.text), GroupBox1);
        row.label->setObjectName(QStringLiteral("Label%1").arg(n));
        row.label->move(8, top + 8);
        row.combo = new TComComboBox(GroupBox1);
        row.combo->setObjectName(QStringLiteral("Combo%1").arg(n));
        row.combo->setGeometry(80, top, 129, 21);
        row.label->setBuddy(row.combo);
        ++n;
    }

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(70, 184, 75, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(150, 184, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    QWidget* order[] = {Combo1, Combo2, Combo3, Combo4, Combo5, Combo6, Button1, Button2};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    // Filled last, as the layout's loading would: the port list may raise, and by then
    // every child exists for the dialog to free.
    for (const Row& row : rows)
        row.combo->SetComProperty(row.property);
}

TComComboBox* TComSetupFrm::combo(int n) const
{
    TComComboBox* const combos[] = {Combo1, Combo2, Combo3, Combo4, Combo5, Combo6};
    return combos[n - 1];
}

void TComSetupFrm::setPortListRoots(std::string sysClassTty, std::string dev)
{
    TComSelect::setPortListRoots(std::move(sysClassTty), std::move(dev));
}

void runComSetupDialog(TCustomComPort& port)
{
    try {
        TComSetupFrm form;
        for (int n = 1; n <= 6; ++n)
            form.combo(n)->SetComPort(&port);
        for (int n = 1; n <= 6; ++n)
            form.combo(n)->ShowPortValue();
        if (ui::prompts().execModal(&form) != QDialog::Accepted)
            return;
        port.BeginUpdate();
        try {
            for (int n = 1; n <= 6; ++n)
                form.combo(n)->ApplyChoice();
        } catch (...) {
            // Left open, the batch would hold back every later setting of this port.
            try {
                port.EndUpdate();
            } catch (...) {
                // The first failure is the one to report.
            }
            throw;
        }
        port.EndUpdate();
    } catch (...) {
        ui::reportException(std::current_exception());
    }
}

void installComSetupDialog()
{
    TCustomComPort::setSetupDialogRunner([](TCustomComPort& port) { runComSetupDialog(port); });
}
