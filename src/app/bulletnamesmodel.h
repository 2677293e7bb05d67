#pragma once

#include "table/bulletlist.h"

#include <QAbstractListModel>

#include <memory>

// The names of the bullet list for ComboBox1, read straight from the list's texts: a list of
// millions of bullets is not copied into a million widget items.
class BulletNamesModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Shows the first `count` names; the texts stay shared with the list that loaded them.
    void setNames(std::shared_ptr<const table::BulletTexts> texts, std::size_t count);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const table::BulletTexts> m_texts;
    int m_count = 0;
};
