#include "imports/ui/unitdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

UnitDialog::UnitDialog(const QString& fileName, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("UnitDialog"));
    setWindowTitle(QStringLiteral("Import"));
    auto* caption = new QLabel(
        QStringLiteral("'%1' does not say the unit of its velocities. They are in:").arg(fileName));
    caption->setWordWrap(true);
    MetresPerSecond = new QRadioButton(QStringLiteral("m/s"));
    MetresPerSecond->setObjectName(QStringLiteral("MetresPerSecond"));
    FeetPerSecond = new QRadioButton(QStringLiteral("ft/s"));
    FeetPerSecond->setObjectName(QStringLiteral("FeetPerSecond"));
    MetresPerSecond->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(MetresPerSecond);
    layout->addWidget(FeetPerSecond);
    layout->addWidget(buttons);
}

bool UnitDialog::feetPerSecond() const
{
    return FeetPerSecond->isChecked();
}
