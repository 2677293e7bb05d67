#pragma once

#include "table/stringgrid.h"
#include "table/units.h"

#include <QDialog>

class QPushButton;
class QSpinBox;
namespace ui {
class GridModel;
class GridView;
} // namespace ui

namespace loaddev {

// One string's shots with their details, in the window's units. Exclude and Include act on
// the marked shots at once, and the window recomputes behind the dialog as they do.
class ShotsDialog : public QDialog {
    Q_OBJECT
public:
    ShotsDialog(table::StringGrid& grid, const QString& title, table::Units units,
                QWidget* parent = nullptr);
    ~ShotsDialog() override;

    ui::GridView* Shots = nullptr;
    QPushButton* Exclude = nullptr;
    QPushButton* Include = nullptr;

signals:
    // Shots were excluded or included.
    void changed();

private:
    void setExcluded(bool excluded);

    table::StringGrid& m_grid;
    ui::GridModel* m_model = nullptr;
};

// How many loads a round-robin string was fired over.
class LoadsDialog : public QDialog {
    Q_OBJECT
public:
    // shots: the string's, so no load is left without one.
    LoadsDialog(std::size_t shots, QWidget* parent = nullptr);
    std::size_t loads() const;

    QSpinBox* Loads = nullptr;
};

} // namespace loaddev
