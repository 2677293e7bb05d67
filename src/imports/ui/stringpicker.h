#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QDialogButtonBox;
class QLabel;
class QTreeWidget;

// Strings to choose from, one a row: name or number, date, shot count, mean velocity. Rows
// that cannot be chosen stay in the list, greyed, with the reason as their note, so nothing
// goes missing unexplained. One choice for an import, several for the charts.
class StringPicker : public QDialog {
    Q_OBJECT
public:
    struct Row {
        QString name;
        QString date;
        QString shots;
        QString mean;
        // Shown in a column of its own when the rows come from more than one source.
        QString source;
        // Why the row cannot be chosen; empty for one that can.
        QString refusal;
    };
    enum class Selection { One, Several };

    // caption: what the list holds ("Xero C1, 14 sessions"); meanHeader names the unit.
    StringPicker(const QString& title, const QString& caption, const QString& meanHeader,
                 const QList<Row>& rows, Selection selection, QWidget* parent = nullptr);

    // The rows chosen, in list order; OK is only enabled while there is one.
    QList<int> chosen() const;
    // Chooses these rows (only the first where one is taken); a refused row gives its place
    // to the next one that can be chosen.
    void choose(const QList<int>& rows);

    QTreeWidget* list() const { return m_list; }
    QLabel* caption() const { return m_caption; }

private:
    void updateOk();

    QLabel* m_caption;
    QTreeWidget* m_list;
    QDialogButtonBox* m_buttons;
};
