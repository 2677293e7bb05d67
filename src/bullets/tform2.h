#pragma once

#include <QDialog>

#include <string>

class QPushButton;
class QTableWidget;

// The bullet list editor: the bullet file in an editable two-column grid. Created once at
// start-up and shown modally; every showing reads the file afresh.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    // `bulletFolder` holds the bullet file that the editor reads and writes.
    explicit TForm2(std::string bulletFolder, QWidget* parent = nullptr);

    void FormShow();
    void Button1Click(); // OK
    void Button2Click(); // Cancel
    void Button3Click(); // Add

    QTableWidget* Grid1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

signals:
    // OK wrote the file; whoever shows the list reads it again.
    void bulletListWritten();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::string m_bulletFolder;
};
