#pragma once

#include <QDialog>

class QPushButton;
class QTableWidget;

// The bullet list editor: the bullet file in an editable two-column grid. Created once at
// start-up and shown modally; every showing reads the file afresh.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    void FormShow();
    void Button1Click(); // OK
    void Button2Click(); // Cancel
    void Button3Click(); // Add

    QTableWidget* Grid1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
