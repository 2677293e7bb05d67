#include "imports/ui/weightdialog.h"

#include "runtime/convert.h"
#include "ui/qtext.h"
#include "ui/weightedit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

WeightDialog::WeightDialog(const QString& fileName, QAbstractItemModel* bullets, int currentBullet,
                           std::function<std::string(int)> weightOf, table::Units units,
                           QWidget* parent)
    : QDialog(parent)
    , m_weightOf(std::move(weightOf))
    , m_units(units)
{
    setObjectName(QStringLiteral("WeightDialog"));
    setWindowTitle(QStringLiteral("Import"));
    auto* caption = new QLabel(QStringLiteral("'%1' does not give the bullet weight. The energies "
                                              "need one; without it they stay \"####\".")
                                   .arg(fileName));
    caption->setWordWrap(true);

    FromList = new QRadioButton(QStringLiteral("Bullet from the list"));
    FromList->setObjectName(QStringLiteral("FromList"));
    BulletBox = new QComboBox;
    BulletBox->setObjectName(QStringLiteral("BulletBox"));
    BulletBox->setAccessibleName(QStringLiteral("Bullet"));
    // The window's own list, not a copy of it: it may hold a great many bullets.
    BulletBox->setModel(bullets);
    BulletBox->setCurrentIndex(currentBullet);
    BulletWeight = new QLabel;
    BulletWeight->setObjectName(QStringLiteral("BulletWeight"));

    Typed = new QRadioButton(QStringLiteral("Weight"));
    Typed->setObjectName(QStringLiteral("Typed"));
    WeightField = new ui::WeightEdit;
    WeightField->setObjectName(QStringLiteral("WeightField"));
    WeightField->setAccessibleName(QStringLiteral("Bullet weight"));
    WeightField->setUnits(units);
    auto* unit = new QLabel(ui::toQString(table::weightUnit(units)));
    unit->setObjectName(QStringLiteral("WeightUnit"));

    NoWeight = new QRadioButton(QStringLiteral("No weight"));
    NoWeight->setObjectName(QStringLiteral("NoWeight"));
    NoWeight->setChecked(true);
    FromList->setEnabled(BulletBox->count() > 0);
    BulletBox->setEnabled(BulletBox->count() > 0);

    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Picking a bullet or typing a weight is answering with it.
    connect(BulletBox, &QComboBox::activated, this, [this] { FromList->setChecked(true); });
    connect(BulletBox, &QComboBox::currentIndexChanged, this, [this] { showBulletWeight(); });
    connect(WeightField, &QLineEdit::textEdited, this, [this] { Typed->setChecked(true); });
    for (QRadioButton* answer : {FromList, Typed, NoWeight})
        connect(answer, &QRadioButton::toggled, this, [this] { updateOk(); });
    connect(WeightField, &QLineEdit::textChanged, this, [this] { updateOk(); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(caption, 0, 0, 1, 3);
    layout->addWidget(FromList, 1, 0);
    layout->addWidget(BulletBox, 1, 1);
    layout->addWidget(BulletWeight, 1, 2);
    layout->addWidget(Typed, 2, 0);
    layout->addWidget(WeightField, 2, 1, Qt::AlignLeft);
    layout->addWidget(unit, 2, 2);
    layout->addWidget(NoWeight, 3, 0, 1, 3);
    layout->addWidget(Buttons, 4, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    showBulletWeight();
    updateOk();
}

std::string WeightDialog::grams() const
{
    if (FromList->isChecked())
        return bulletGrams();
    if (Typed->isChecked())
        return WeightField->grams();
    return {};
}

std::string WeightDialog::bulletGrams() const
{
    const int row = BulletBox->currentIndex();
    return row < 0 ? std::string() : m_weightOf(row);
}

void WeightDialog::showBulletWeight()
{
    if (BulletBox->currentIndex() < 0) {
        BulletWeight->clear();
        return;
    }
    BulletWeight->setText(ui::toQString(table::weightDisplay(bulletGrams(), m_units) + " " +
                                        std::string(table::weightUnit(m_units))));
}

void WeightDialog::updateOk()
{
    const bool answered = !Typed->isChecked() || rt::parseFloat(WeightField->grams()).has_value();
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(answered);
}
