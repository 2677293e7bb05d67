#include "session/ui/sessiondock.h"

#include "ui/localtime.h"
#include "ui/qtext.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace {

// Fields fill the dock but claim no room of their own: a wider window widens the charts.
QLineEdit* textField(const char* name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromUtf8(name));
    edit->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return edit;
}

// A decimal with either separator, as shooters type it in any locale.
QLineEdit* numberField(const char* name)
{
    QLineEdit* edit = textField(name);
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?[0-9]{0,6}([.,][0-9]{0,4})?")), edit));
    return edit;
}

template <std::size_t N>
QComboBox* unitBox(const char* name, const std::array<std::string_view, N>& units)
{
    auto* box = new QComboBox;
    box->setObjectName(QString::fromUtf8(name));
    for (const std::string_view unit : units)
        box->addItem(ui::toQString(unit));
    return box;
}

QWidget* quantityRow(QLineEdit* value, QComboBox* unit)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(value, 1);
    layout->addWidget(unit);
    return row;
}

void showQuantity(const table::Quantity& q, QLineEdit* value, QComboBox* unit)
{
    value->setText(ui::toQString(q.value));
    const int index = unit->findText(ui::toQString(q.unit));
    unit->setCurrentIndex(std::max(index, 0));
}

// A value is kept with '.', so a file reads the same in every locale; no value, no unit.
table::Quantity quantityOf(const QLineEdit* value, const QComboBox* unit)
{
    QString text = value->text().trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (text.isEmpty())
        return {};
    return {ui::toStdString(text), ui::toStdString(unit->currentText())};
}

} // namespace

SessionDock::SessionDock(QWidget* parent)
    : QDockWidget(QStringLiteral("Session"), parent)
{
    setObjectName(QStringLiteral("SessionDock"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    // Behind the shot statistics' tab at start: its fields wait until they are seen.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            ensureBuilt();
    });
}

QSize SessionDock::sizeHint() const
{
    // The width the fields take once made, known before they are.
    return {fontMetrics().averageCharWidth() * 44, QDockWidget::sizeHint().height()};
}

void SessionDock::ensureBuilt()
{
    if (m_built)
        return;
    m_built = true;
    build();
    fill();
}

void SessionDock::build()
{
    auto* body = new QWidget(this);
    auto* form = new QFormLayout(body);

    TitleEdit = textField("TitleEdit");
    DateTimeEdit = textField("DateTimeEdit");
    DateTimeEdit->setPlaceholderText(QStringLiteral("yyyy-mm-dd hh:mm"));
    RifleEdit = textField("RifleEdit");
    CartridgeEdit = textField("CartridgeEdit");
    PowderEdit = textField("PowderEdit");
    ChargeEdit = numberField("ChargeEdit");
    ChargeUnit = unitBox("ChargeUnit", table::kChargeUnits);
    PrimerEdit = textField("PrimerEdit");
    CaseEdit = textField("CaseEdit");
    LengthEdit = numberField("LengthEdit");
    LengthUnit = unitBox("LengthUnit", table::kLengthUnits);
    LengthEdit->setToolTip(QStringLiteral("Cartridge length to the ogive or overall"));
    TemperatureEdit = numberField("TemperatureEdit");
    TemperatureUnit = unitBox("TemperatureUnit", table::kTemperatureUnits);
    PlaceEdit = textField("PlaceEdit");
    NotesEdit = new QPlainTextEdit;
    NotesEdit->setObjectName(QStringLiteral("NotesEdit"));
    NotesEdit->setTabChangesFocus(true);
    NotesEdit->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);

    form->addRow(QStringLiteral("Title"), TitleEdit);
    form->addRow(QStringLiteral("Date"), DateTimeEdit);
    form->addRow(QStringLiteral("Rifle"), RifleEdit);
    form->addRow(QStringLiteral("Cartridge"), CartridgeEdit);
    form->addRow(QStringLiteral("Powder"), PowderEdit);
    form->addRow(QStringLiteral("Charge"), quantityRow(ChargeEdit, ChargeUnit));
    form->addRow(QStringLiteral("Primer"), PrimerEdit);
    form->addRow(QStringLiteral("Case"), CaseEdit);
    form->addRow(QStringLiteral("Length"), quantityRow(LengthEdit, LengthUnit));
    form->addRow(QStringLiteral("Temperature"), quantityRow(TemperatureEdit, TemperatureUnit));
    form->addRow(QStringLiteral("Place"), PlaceEdit);
    form->addRow(QStringLiteral("Notes"), NotesEdit);
    setWidget(body);

    for (QLineEdit* edit :
         {TitleEdit, DateTimeEdit, RifleEdit, CartridgeEdit, PowderEdit, ChargeEdit, PrimerEdit,
          CaseEdit, LengthEdit, TemperatureEdit, PlaceEdit})
        connect(edit, &QLineEdit::textEdited, this, &SessionDock::userEdited);
    for (QComboBox* box : {ChargeUnit, LengthUnit, TemperatureUnit})
        connect(box, &QComboBox::activated, this, &SessionDock::userEdited);
    connect(NotesEdit, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            userEdited();
    });
}

void SessionDock::setDetails(const table::StringDetails& details)
{
    m_details = details;
    if (!details.empty())
        ensureBuilt();
    if (m_built)
        fill();
}

void SessionDock::fill()
{
    const table::StringDetails& details = m_details;
    m_filling = true;
    TitleEdit->setText(ui::toQString(details.title));
    DateTimeEdit->setText(
        details.dateTime.empty() ? QString() : ui::toQString(ui::localTimeText(details.dateTime)));
    RifleEdit->setText(ui::toQString(details.rifle));
    CartridgeEdit->setText(ui::toQString(details.cartridge));
    PowderEdit->setText(ui::toQString(details.powder));
    showQuantity(details.charge, ChargeEdit, ChargeUnit);
    PrimerEdit->setText(ui::toQString(details.primer));
    CaseEdit->setText(ui::toQString(details.caseName));
    showQuantity(details.length, LengthEdit, LengthUnit);
    showQuantity(details.temperature, TemperatureEdit, TemperatureUnit);
    PlaceEdit->setText(ui::toQString(details.place));
    NotesEdit->setPlainText(ui::toQString(details.notes));
    m_filling = false;
}

void SessionDock::userEdited()
{
    m_details = details();
    emit edited();
}

table::StringDetails SessionDock::details() const
{
    if (!m_built)
        return m_details;
    table::StringDetails d;
    d.title = ui::toStdString(TitleEdit->text());
    // The date as it came stays, offset and all, until the user types another one.
    const std::string shown = ui::toStdString(DateTimeEdit->text());
    const bool unchanged =
        !m_details.dateTime.empty() && shown == ui::localTimeText(m_details.dateTime);
    d.dateTime =
        unchanged ? m_details.dateTime : ui::isoFromLocalText(shown).value_or(m_details.dateTime);
    d.rifle = ui::toStdString(RifleEdit->text());
    d.cartridge = ui::toStdString(CartridgeEdit->text());
    d.powder = ui::toStdString(PowderEdit->text());
    d.charge = quantityOf(ChargeEdit, ChargeUnit);
    d.primer = ui::toStdString(PrimerEdit->text());
    d.caseName = ui::toStdString(CaseEdit->text());
    d.length = quantityOf(LengthEdit, LengthUnit);
    d.temperature = quantityOf(TemperatureEdit, TemperatureUnit);
    d.place = ui::toStdString(PlaceEdit->text());
    d.notes = ui::toStdString(NotesEdit->toPlainText());
    return d;
}
