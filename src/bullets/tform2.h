#pragma once

#include "table/stringgrid.h"

#include <QDialog>

#include <string>

class QPushButton;
class QTableView;

namespace ui {
class GridModel;
}

// The bullet list editor: the bullet file in an editable two-column grid. Created once at
// start-up and shown modally; every showing reads the file afresh.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    // `bulletFolder` holds the bullet file that the editor reads and writes.
    explicit TForm2(std::string bulletFolder, QWidget* parent = nullptr);
    ~TForm2() override;

    void FormShow();
    void Button1Click(); // OK
    void Button2Click(); // Cancel
    void Button3Click(); // Add

    // Row 0 of the grid is the header; the view shows rows 1.. as its rows 0.. .
    QTableView* Grid1 = nullptr;
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
    // The rows in compact form: a list of millions of bullets costs about its file's size.
    table::StringGrid m_grid;
    ui::GridModel* m_model = nullptr;
};
