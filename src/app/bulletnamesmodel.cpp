#include "app/bulletnamesmodel.h"

#include "ui/qtext.h"

#include <algorithm>
#include <limits>

void BulletNamesModel::setNames(std::shared_ptr<const table::BulletTexts> texts, std::size_t count)
{
    beginResetModel();
    m_texts = std::move(texts);
    m_count = static_cast<int>(
        std::min<std::size_t>({count, m_texts ? m_texts->size() / 2 : 0,
                               static_cast<std::size_t>(std::numeric_limits<int>::max())}));
    endResetModel();
}

int BulletNamesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count;
}

QVariant BulletNamesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_count ||
        (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::AccessibleTextRole))
        return {};
    return ui::toQString(m_texts->at(2 * static_cast<std::size_t>(index.row())));
}
