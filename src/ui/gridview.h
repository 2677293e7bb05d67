#pragma once

#include <QTableView>

#include <cstddef>
#include <initializer_list>

namespace ui {

class GridModel;

// Rows of the grid, counted as the grid counts them (row 1 is the first measurement).
struct GridSelection {
    std::size_t top = 1;
    std::size_t bottom = 1;
};

// The measurement table's view: whole rows, one contiguous range, header row fixed,
// vertical scroll bar only. The grid always has a current cell and a selection.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    void setGridModel(GridModel* model);

    // The marked rows, or the current cell's row when nothing is marked.
    GridSelection selection() const;
    // Marks rows top..bottom (grid rows) and makes top the current row.
    void selectRows(std::size_t top, std::size_t bottom);

    // Widens those of the columns whose header would not fit; the grid takes the new widths.
    void fitColumnsToHeaders(std::initializer_list<std::size_t> columns);

private:
    void ensureCurrentCell();
    void applyColumnWidths();

    GridModel* m_model = nullptr;
};

} // namespace ui
