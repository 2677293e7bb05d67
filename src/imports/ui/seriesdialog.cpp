#include "imports/ui/seriesdialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

SeriesDialog::SeriesDialog(const QList<Row>& rows, bool several, QWidget* parent)
    : QDialog(parent)
    , m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("SeriesDialog"));
    setWindowTitle(QStringLiteral("Import"));
    auto* caption =
        new QLabel(several ? QStringLiteral("The file holds several series. Add series:")
                           : QStringLiteral("The file holds several series. Import series:"));
    caption->setBuddy(m_list);
    m_list->setObjectName(QStringLiteral("SeriesList"));
    m_list->setRootIsDecorated(false);
    if (several)
        m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHeaderLabels(
        {QStringLiteral("Series"), QStringLiteral("Shots"), QStringLiteral("First velocity")});
    for (const Row& row : rows) {
        auto* item = new QTreeWidgetItem(
            m_list, {row.number, QString::number(row.shots), row.firstVelocity});
        item->setTextAlignment(1, Qt::AlignRight);
        item->setTextAlignment(2, Qt::AlignRight);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    choose(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemActivated, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

int SeriesDialog::chosen() const
{
    return m_list->indexOfTopLevelItem(m_list->currentItem());
}

QList<int> SeriesDialog::chosenRows() const
{
    QList<int> rows;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        if (m_list->topLevelItem(i)->isSelected())
            rows << i;
    }
    return rows;
}

void SeriesDialog::choose(int row)
{
    if (QTreeWidgetItem* item = m_list->topLevelItem(row))
        m_list->setCurrentItem(item);
}
