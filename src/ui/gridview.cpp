#include "ui/gridview.h"

#include "ui/gridmodel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStyle>
#include <QStyleOptionHeader>

namespace ui {

namespace {
constexpr int kRowHeight = 15;
}

GridView::GridView(QWidget* parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    // Only the columns the model makes editable take an editor.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setShowGrid(true);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(8);
    horizontalHeader()->setStretchLastSection(false);
}

void GridView::setGridModel(GridModel* model)
{
    m_model = model;
    setModel(model);
    applyColumnWidths();

    connect(model, &GridModel::widthChanged, this, [this](int column, int width) {
        if (horizontalHeader()->sectionSize(column) != width)
            horizontalHeader()->resizeSection(column, width);
    });
    // The user's widths are the grid's widths.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
                m_model->grid().setColWidth(static_cast<std::size_t>(column), width);
            });
    connect(model, &QAbstractItemModel::rowsInserted, this, &GridView::ensureCurrentCell);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &GridView::ensureCurrentCell);
    connect(model, &QAbstractItemModel::modelReset, this, &GridView::ensureCurrentCell);
    connect(model, &QAbstractItemModel::columnsInserted, this, &GridView::applyColumnWidths);
    ensureCurrentCell();
}

void GridView::applyColumnWidths()
{
    for (int c = 0; c < m_model->columnCount(); ++c)
        horizontalHeader()->resizeSection(c, m_model->grid().colWidth(static_cast<std::size_t>(c)));
}

void GridView::fitColumnsToHeaders(std::initializer_list<std::size_t> columns)
{
    QHeaderView* header = horizontalHeader();
    for (const std::size_t column : columns) {
        const int c = static_cast<int>(column);
        if (c >= m_model->columnCount())
            continue;
        QStyleOptionHeader option;
        option.initFrom(header);
        option.text = m_model->headerData(c, Qt::Horizontal).toString();
        const int needed =
            header->style()
                ->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header)
                .width();
        const int own = m_model->grid().colWidth(column);
        header->resizeSection(c, std::max(own, needed));
    }
}

void GridView::ensureCurrentCell()
{
    if (!m_model || m_model->rowCount() == 0)
        return;
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() < m_model->rowCount())
        return;
    const int row = current.isValid() ? m_model->rowCount() - 1 : 0;
    selectionModel()->setCurrentIndex(m_model->index(row, 0), QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
}

GridSelection GridView::selection() const
{
    GridSelection result;
    if (!m_model || !selectionModel())
        return result;
    // The ranges, not the rows: a whole table marked is one range but 65,535 rows.
    const QItemSelection ranges = selectionModel()->selection();
    if (!ranges.isEmpty()) {
        int top = ranges.first().top();
        int bottom = ranges.first().bottom();
        for (const QItemSelectionRange& range : ranges) {
            top = std::min(top, range.top());
            bottom = std::max(bottom, range.bottom());
        }
        result.top = static_cast<std::size_t>(top) + 1;
        result.bottom = static_cast<std::size_t>(bottom) + 1;
    } else if (currentIndex().isValid()) {
        result.top = result.bottom = static_cast<std::size_t>(currentIndex().row()) + 1;
    }
    return result;
}

void GridView::selectRows(std::size_t top, std::size_t bottom)
{
    if (!m_model || top == 0 || bottom < top || static_cast<int>(bottom) > m_model->rowCount())
        return;
    const int first = static_cast<int>(top) - 1;
    const int last = static_cast<int>(bottom) - 1;
    selectionModel()->setCurrentIndex(m_model->index(first, 0), QItemSelectionModel::NoUpdate);
    selectionModel()->select(
        QItemSelection(m_model->index(first, 0), m_model->index(last, m_model->columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

} // namespace ui
