#pragma once

#include <QDialog>

#include <string>

class QGroupBox;
class QLabel;
class QPushButton;
class TComComboBox;
class TCustomComPort;

// The port's setup dialog: six lists for port, baud rate, data bits, stop bits, parity
// and flow control. Building it reads the port list afresh.
class TComSetupFrm : public QDialog {
public:
    explicit TComSetupFrm(QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    TComComboBox* Combo1;
    TComComboBox* Combo2;
    TComComboBox* Combo3;
    TComComboBox* Combo4;
    TComComboBox* Combo5;
    TComComboBox* Combo6;
    QPushButton* Button1;
    QPushButton* Button2;

    // The six lists in their order.
    TComComboBox* combo(int n) const;

    // Where the port list comes from; tests point it at a faked device tree.
    static void setPortListRoots(std::string sysClassTty, std::string dev);
};

// Runs the dialog on `port` through the program's ui::prompts: OK applies the six choices in
// one batch, Cancel applies nothing. A failure (no readable port list, a port that cannot
// be opened again on the new name) goes to the error report; the choices after a failing
// one are not applied.
void runComSetupDialog(TCustomComPort& port);
// Makes ShowSetupDialog of every port run this dialog.
void installComSetupDialog();
