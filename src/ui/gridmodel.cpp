#include "ui/gridmodel.h"

#include "ui/qtext.h"

#include <QPalette>

#include <algorithm>

namespace ui {

namespace {
int modelRows(std::size_t gridRows)
{
    return gridRows > 0 ? static_cast<int>(gridRows - 1) : 0;
}
} // namespace

GridModel::GridModel(table::StringGrid& grid, QObject* parent)
    : QAbstractTableModel(parent)
    , m_grid(grid)
    , m_shownColumns(grid.colCount())
{
    m_grid.setObserver(this);
}

GridModel::~GridModel()
{
    m_grid.setObserver(nullptr);
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : modelRows(m_grid.rowCount());
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shownColumns);
}

void GridModel::setShownColumns(std::size_t count)
{
    count = std::min(count, m_grid.colCount());
    // Told as columns coming and going, so the view keeps its rows, selection and widths.
    if (count > m_shownColumns) {
        beginInsertColumns(QModelIndex(), static_cast<int>(m_shownColumns),
                           static_cast<int>(count) - 1);
        m_shownColumns = count;
        endInsertColumns();
    } else if (count < m_shownColumns) {
        beginRemoveColumns(QModelIndex(), static_cast<int>(count),
                           static_cast<int>(m_shownColumns) - 1);
        m_shownColumns = count;
        endRemoveColumns();
    }
}

void GridModel::setDisplayText(DisplayText displayText)
{
    m_displayText = std::move(displayText);
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    allRowsChanged();
}

void GridModel::setEditableColumns(std::vector<std::size_t> columns, Accept accept)
{
    m_editableColumns = std::move(columns);
    m_accept = std::move(accept);
}

void GridModel::setMutedRows(Muted muted)
{
    m_muted = std::move(muted);
    allRowsChanged();
}

void GridModel::setDisplayKey(DisplayKey displayKey)
{
    m_displayKey = std::move(displayKey);
    displayKeyChanged();
}

bool GridModel::displayKeyChanged()
{
    const int key = m_displayKey ? m_displayKey() : 0;
    if (key == m_lastDisplayKey)
        return false;
    m_lastDisplayKey = key;
    return true;
}

void GridModel::allRowsChanged()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

QString GridModel::shown(std::size_t col, std::size_t row) const
{
    const std::string_view stored = m_grid.cell(col, row);
    return toQString(m_displayText ? std::string_view(m_displayText(col, row, stored)) : stored);
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const auto col = static_cast<std::size_t>(index.column());
    const auto row = static_cast<std::size_t>(index.row()) + 1;
    if (role == Qt::EditRole)
        return toQString(m_grid.cell(col, row));
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return shown(col, row);
    if (role == Qt::ForegroundRole && m_muted && m_muted(row))
        return QPalette().brush(QPalette::Disabled, QPalette::Text);
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() &&
        std::find(m_editableColumns.begin(), m_editableColumns.end(),
                  static_cast<std::size_t>(index.column())) != m_editableColumns.end())
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!(flags(index) & Qt::ItemIsEditable) || role != Qt::EditRole)
        return false;
    const auto col = static_cast<std::size_t>(index.column());
    const auto row = static_cast<std::size_t>(index.row()) + 1;
    const std::string typed = toStdString(value.toString());
    const std::optional<std::string> text = m_accept ? m_accept(col, typed) : typed;
    if (!text)
        return false;
    if (m_grid.cell(col, row) == *text)
        return true;
    m_grid.setCell(col, row, *text);
    emit edited(col, row);
    return true;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || section < 0)
        return {};
    if (orientation == Qt::Horizontal)
        return shown(static_cast<std::size_t>(section), 0);
    return section + 1;
}

void GridModel::rowCountAboutToChange(std::size_t oldCount, std::size_t newCount)
{
    const int oldRows = modelRows(oldCount);
    const int newRows = modelRows(newCount);
    if (newRows > oldRows)
        beginInsertRows(QModelIndex(), oldRows, newRows - 1);
    else if (newRows < oldRows)
        beginRemoveRows(QModelIndex(), newRows, oldRows - 1);
}

void GridModel::rowCountChanged(std::size_t oldCount, std::size_t newCount)
{
    const int oldRows = modelRows(oldCount);
    const int newRows = modelRows(newCount);
    if (newRows > oldRows)
        endInsertRows();
    else if (newRows < oldRows)
        endRemoveRows();
    if (displayKeyChanged())
        allRowsChanged();
}

void GridModel::rowsChanged(std::size_t first, std::size_t last)
{
    if (first == 0) {
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        if (last == 0)
            return;
        first = 1;
    }
    if (displayKeyChanged()) {
        allRowsChanged();
        return;
    }
    const int top = static_cast<int>(first) - 1;
    const int bottom = static_cast<int>(last) - 1;
    emit dataChanged(index(top, 0), index(bottom, columnCount() - 1), {Qt::DisplayRole});
}

void GridModel::columnWidthChanged(std::size_t col)
{
    emit widthChanged(static_cast<int>(col), m_grid.colWidth(col));
}

} // namespace ui
