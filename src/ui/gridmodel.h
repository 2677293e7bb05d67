#pragma once

#include "table/stringgrid.h"

#include <QAbstractTableModel>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// Shows a table::StringGrid to a QTableView: grid row 0 is the horizontal header, grid row r is
// model row r - 1. The grid stays the only store; the model holds nothing of its own.
class GridModel : public QAbstractTableModel, private table::GridObserver {
    Q_OBJECT
public:
    explicit GridModel(table::StringGrid& grid, QObject* parent = nullptr);
    ~GridModel() override;

    table::StringGrid& grid() const { return m_grid; }
    // Columns the user may type into. `accept` sees each typed text and gives the text to
    // store, or nothing to refuse it (the cell keeps its text).
    using Accept = std::function<std::optional<std::string>(std::size_t col, std::string_view)>;
    void setEditableColumns(std::vector<std::size_t> columns, Accept accept);
    // Rows shown in the disabled text colour, such as shots left out of the statistics.
    using Muted = std::function<bool(std::size_t row)>;
    void setMutedRows(Muted muted);
    // The grid's first `count` columns are shown; the rest are kept out of sight.
    void setShownColumns(std::size_t count);

    // What a cell (row 0: a header) shows instead of its stored text, such as a value in other
    // units; an editor still gets the stored text. Empty: the stored text.
    using DisplayText =
        std::function<std::string(std::size_t col, std::size_t row, std::string_view stored)>;
    void setDisplayText(DisplayText displayText);
    // A value that changes when cells other than the written ones show differently, such as a
    // column whose decimals follow its widest value; looked at after every change of the grid.
    using DisplayKey = std::function<int()>;
    void setDisplayKey(DisplayKey displayKey);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    void widthChanged(int column, int width);
    // The user changed a cell (grid row and column).
    void edited(std::size_t col, std::size_t row);

private:
    void rowCountAboutToChange(std::size_t oldCount, std::size_t newCount) override;
    void rowCountChanged(std::size_t oldCount, std::size_t newCount) override;
    void rowsChanged(std::size_t first, std::size_t last) override;
    void columnWidthChanged(std::size_t col) override;

    QString shown(std::size_t col, std::size_t row) const;
    // Every cell changed when the display key did.
    bool displayKeyChanged();
    void allRowsChanged();

    table::StringGrid& m_grid;
    std::vector<std::size_t> m_editableColumns;
    Accept m_accept;
    Muted m_muted;
    std::size_t m_shownColumns;
    DisplayText m_displayText;
    DisplayKey m_displayKey;
    int m_lastDisplayKey = 0;
};

} // namespace ui
