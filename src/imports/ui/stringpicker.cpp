#include "imports/ui/stringpicker.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column { Source, Name, Date, Shots, Mean, Note, ColumnCount };

} // namespace

StringPicker::StringPicker(const QString& title, const QString& caption, const QString& meanHeader,
                           const QList<Row>& rows, Selection selection, QWidget* parent)
    : QDialog(parent)
    , m_caption(new QLabel(caption))
    , m_list(new QTreeWidget(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("StringPicker"));
    setWindowTitle(title);
    m_caption->setObjectName(QStringLiteral("PickerCaption"));
    m_caption->setWordWrap(true);
    m_caption->setBuddy(m_list);
    m_list->setObjectName(QStringLiteral("StringList"));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(selection == Selection::Several ? QAbstractItemView::ExtendedSelection
                                                             : QAbstractItemView::SingleSelection);
    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels({QStringLiteral("Device"), QStringLiteral("String"),
                             QStringLiteral("Date"), QStringLiteral("Shots"), meanHeader,
                             QStringLiteral("Note")});
    bool severalSources = false;
    bool anyRefused = false;
    for (const Row& row : rows) {
        auto* item = new QTreeWidgetItem(
            m_list, {row.source, row.name, row.date, row.shots, row.mean, row.refusal});
        item->setTextAlignment(Shots, Qt::AlignRight);
        item->setTextAlignment(Mean, Qt::AlignRight);
        if (!row.refusal.isEmpty()) {
            item->setFlags(Qt::NoItemFlags);
            item->setToolTip(Note, row.refusal);
            anyRefused = true;
        }
        severalSources = severalSources || row.source != rows.constFirst().source;
    }
    m_list->setColumnHidden(Source, !severalSources);
    m_list->setColumnHidden(Note, !anyRefused);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(false);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item->flags() & Qt::ItemIsEnabled)
            accept();
    });
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &StringPicker::updateOk);
    choose({0});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(m_list);
    layout->addWidget(m_buttons);
    resize(std::max(sizeHint().width(), 520), 360);
}

QList<int> StringPicker::chosen() const
{
    QList<int> rows;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        if (m_list->topLevelItem(i)->isSelected())
            rows << i;
    }
    return rows;
}

void StringPicker::choose(const QList<int>& rows)
{
    m_list->clearSelection();
    for (const int row : rows) {
        // A row asked for that cannot be chosen leaves its place to the next one that can.
        int at = row;
        while (at < m_list->topLevelItemCount() &&
               !(m_list->topLevelItem(at)->flags() & Qt::ItemIsSelectable))
            ++at;
        QTreeWidgetItem* item = m_list->topLevelItem(at);
        if (!item)
            continue;
        if (m_list->selectionMode() == QAbstractItemView::SingleSelection) {
            m_list->setCurrentItem(item);
            break;
        }
        item->setSelected(true);
        if (!m_list->currentItem() || !m_list->currentItem()->isSelected())
            m_list->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
    }
    updateOk();
}

void StringPicker::updateOk()
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!chosen().isEmpty());
}
