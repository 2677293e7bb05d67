#include "ui/weightedit.h"

#include "ui/qtext.h"

#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace ui {

namespace {

// The widest weights of the two shapes: "888,888" g and "88888,8" gr.
constexpr char kWidestWeight[] = "88888,8";
// QLineEdit's own room between its frame and its text on either side.
constexpr int kTextMargin = 2;

table::WeightShape shapeFor(table::Units units)
{
    return units == table::Units::Imperial ? table::kGrainsShape : table::kGramsShape;
}

// What the gram field reads for a weight text put into it.
std::string gramFieldReading(const std::string& grams)
{
    return table::weightFieldText(table::weightDisplayFor(grams));
}

} // namespace

QValidator::State WeightValidator::validate(QString& input, int& pos) const
{
    // The rules count bytes; outside ASCII a byte is no longer a position, and no character
    // there belongs in a weight anyway.
    if (std::any_of(input.cbegin(), input.cend(), [](QChar c) { return c.unicode() >= 0x80; }))
        return Invalid;
    const QByteArray text = input.toLatin1();
    const auto edit =
        table::normalizeWeightEdit(std::string_view(text.constData(), text.size()),
                                   static_cast<std::size_t>(std::max(pos, 0)), m_shape);
    if (!edit)
        return Invalid;
    input = QString::fromLatin1(edit->display.data(), static_cast<qsizetype>(edit->display.size()));
    pos = static_cast<int>(edit->cursor);
    return Acceptable;
}

WeightEdit::WeightEdit(QWidget* parent)
    : QLineEdit(parent)
    , m_validator(new WeightValidator(this))
{
    setValidator(m_validator);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setGrams({});
    // Only the user's edits: setText from the program leaves the given grams in charge.
    connect(this, &QLineEdit::textEdited, this, [this] { m_typed = true; });
}

void WeightEdit::setGrams(const std::string& grams)
{
    m_grams = grams;
    m_typed = false;
    showGrams();
}

std::string WeightEdit::grams() const
{
    const std::string shown = table::weightFieldText(displayText().toStdString());
    if (m_units == table::Units::Metric)
        return shown;
    if (!m_typed)
        return gramFieldReading(m_grams);
    // Grains that are no weight are an unfilled gram field, never a grains text in grams.
    return table::weightFieldGrams(shown).value_or(gramFieldReading({}));
}

void WeightEdit::setUnits(table::Units units)
{
    if (units == m_units)
        return;
    m_grams = grams();
    m_typed = false;
    m_units = units;
    showGrams();
}

void WeightEdit::showGrams()
{
    const table::WeightShape shape = shapeFor(m_units);
    m_validator->setShape(shape);
    const std::string text = m_units == table::Units::Imperial
                                 ? table::weightFieldGrains(m_grams).value_or(m_grams)
                                 : m_grams;
    setText(toQString(table::weightDisplayFor(text, shape)));
}

QSize WeightEdit::sizeHint() const
{
    ensurePolished();
    const QMargins text = textMargins();
    const QMargins own = contentsMargins();
    const int width = fontMetrics().horizontalAdvance(QString::fromLatin1(kWidestWeight)) +
                      2 * kTextMargin + text.left() + text.right() + own.left() + own.right();
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QSize inner(width, QLineEdit::sizeHint().height());
    const QSize outer = style()->sizeFromContents(QStyle::CT_LineEdit, &option, inner, this);
    // The cursor after the last digit takes a pixel.
    return {outer.width() + 1, QLineEdit::sizeHint().height()};
}

} // namespace ui
