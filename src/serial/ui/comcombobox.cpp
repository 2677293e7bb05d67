#include "serial/ui/comcombobox.h"

#include "ui/errorreport.h"

#include <QSignalBlocker>

TComComboBox::TComComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(false);
    m_select.onChanged = [this] { sync(); };
    // activated, not currentIndexChanged: only the user's pick sets the pending value.
    // With AutoApply the pick goes to the port at once, which can fail like any handler.
    connect(this, &QComboBox::activated, this,
            [this](int index) { ui::guarded([this, index] { m_select.change(index); })(); });
}

QString TComComboBox::Text() const
{
    return QString::fromStdString(m_select.Text());
}

void TComComboBox::SetText(const QString& text)
{
    m_select.SetText(text.toStdString());
}

void TComComboBox::sync()
{
    const auto& items = m_select.items();
    bool same = count() == static_cast<int>(items.size());
    for (int i = 0; same && i < count(); ++i)
        same = itemText(i).toStdString() == items[static_cast<std::size_t>(i)];
    if (!same) {
        QSignalBlocker block(this);
        clear();
        for (const auto& item : items)
            addItem(QString::fromStdString(item));
    }
    setCurrentIndex(m_select.itemIndex());
}
