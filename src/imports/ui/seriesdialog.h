#pragma once

#include <QDialog>

class QTreeWidget;

// The series of a file that holds many: the user picks one (several for the charts) by its
// number, its shot count and its first velocity.
class SeriesDialog : public QDialog {
    Q_OBJECT
public:
    struct Row {
        QString number;
        int shots = 0;
        QString firstVelocity;
    };
    explicit SeriesDialog(const QList<Row>& rows, bool several = false, QWidget* parent = nullptr);

    // The row chosen (the current one); the first one until the user picks another.
    int chosen() const;
    // The rows marked, in list order.
    QList<int> chosenRows() const;
    void choose(int row);

    QTreeWidget* list() const { return m_list; }

private:
    QTreeWidget* m_list;
};
