#include "loaddev/laddermodel.h"

#include "ui/qtext.h"

#include <algorithm>

namespace loaddev {

namespace {

// What each column tells, for its header's tooltip.
constexpr const char* kColumnTips[session::kLadderColumnCount] = {
    "The value this string was shot at; type it here",
    "Shots in the figures: excluded shots and rows without a velocity are left out",
    "Mean velocity of the string",
    "Extreme spread: highest minus lowest velocity",
    "Standard deviation (n\u22121)",
    "Where the true SD of this load may lie, at the confidence level",
    "Change of the mean from the string at the next lower value",
    "Velocity gained per unit of the variable from the next lower value",
    "In a run of values whose means change by less than half of what the fitted line "
    "predicts over their spacing",
};

} // namespace

void LadderModel::show(session::LadderTable table, std::vector<std::size_t> rowStrings)
{
    beginResetModel();
    m_table = std::move(table);
    m_rowStrings = std::move(rowStrings);
    endResetModel();
}

int LadderModel::rowOfString(std::size_t string) const
{
    const auto at = std::find(m_rowStrings.begin(), m_rowStrings.end(), string);
    return at == m_rowStrings.end() ? -1 : static_cast<int>(at - m_rowStrings.begin());
}

int LadderModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_table.rows.size());
}

int LadderModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(session::kLadderColumnCount);
}

QVariant LadderModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const auto& text =
        m_table
            .rows[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return ui::toQString(text);
    case Qt::TextAlignmentRole:
        return index.column() == session::LadderFlat ? int(Qt::AlignCenter)
                                                     : int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant LadderModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(session::kLadderColumnCount))
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return ui::toQString(m_table.header[static_cast<std::size_t>(section)]);
    if (role == Qt::ToolTipRole)
        return QString::fromUtf8(kColumnTips[section]);
    return {};
}

Qt::ItemFlags LadderModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == session::LadderValue)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool LadderModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.column() != session::LadderValue)
        return false;
    emit valueTyped(stringOfRow(index.row()), value.toString());
    return true;
}

} // namespace loaddev
