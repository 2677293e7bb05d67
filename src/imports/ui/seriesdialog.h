#pragma once

#include <QDialog>

class QTreeWidget;

// The series of a file that holds many: the user picks one by its number, its shot count
// and its first velocity.
class SeriesDialog : public QDialog {
    Q_OBJECT
public:
    struct Row {
        QString number;
        int shots = 0;
        QString firstVelocity;
    };
    explicit SeriesDialog(const QList<Row>& rows, QWidget* parent = nullptr);

    // The row chosen; the first one until the user picks another.
    int chosen() const;
    void choose(int row);

    QTreeWidget* list() const { return m_list; }

private:
    QTreeWidget* m_list;
};
