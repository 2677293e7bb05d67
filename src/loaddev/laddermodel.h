#pragma once

#include "session/laddertexts.h"

#include <QAbstractTableModel>

#include <cstddef>

namespace loaddev {

// The ladder's table: one row per string in the figures' order, the texts of
// session::ladderTable. Only the value is typed into; the model hands it on and the window
// decides.
class LadderModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // rowStrings[r]: the index in LoadTest::strings of row r.
    void show(session::LadderTable table, std::vector<std::size_t> rowStrings);
    std::size_t stringOfRow(int row) const
    {
        return m_rowStrings.at(static_cast<std::size_t>(row));
    }
    int rowOfString(std::size_t string) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // The user typed a value for a string (its index in LoadTest::strings).
    void valueTyped(std::size_t string, const QString& text);

private:
    session::LadderTable m_table;
    std::vector<std::size_t> m_rowStrings;
};

} // namespace loaddev
