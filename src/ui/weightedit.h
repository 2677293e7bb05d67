#pragma once

#include "table/units.h"
#include "table/weightmask.h"

#include <QLineEdit>
#include <QValidator>

#include <string>

namespace ui {

// Keeps a weight field in its form while the user edits it: digits before the comma
// without padding, the comma fixed, the decimal positions of its shape. A Qt input mask
// cannot do it, because a mask gives every position a fixed place.
class WeightValidator : public QValidator {
public:
    using QValidator::QValidator;

    void setShape(table::WeightShape shape) { m_shape = shape; }
    State validate(QString& input, int& pos) const override;

private:
    table::WeightShape m_shape = table::kGramsShape;
};

// A bullet weight in the units the window shows: grams with three decimals, or grains with
// one in Imperial. The program's weights stay grams. A weight given in grams shows in grains
// rounded, and comes back as given until the user edits the field: a pellet of 0,547 g
// shows 8,4 gr and stays 0,547 g, where 8,4 gr typed is 0,544 g.
class WeightEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit WeightEdit(QWidget* parent = nullptr);

    // A weight text in grams, as the table and the bullet list keep it.
    void setGrams(const std::string& grams);
    // The weight as the gram field reads it: unfilled positions as spaces (" ,   " for an
    // empty field), typed grains converted to three decimals.
    std::string grams() const;

    // Shows the same grams in the other unit.
    void setUnits(table::Units units);
    table::Units units() const { return m_units; }

    // Wide enough for the widest weight of either unit, in the field's own font.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    void showGrams();

    WeightValidator* m_validator;
    table::Units m_units = table::Units::Metric;
    // What setGrams gave, while the field shows it in grains and nobody has typed since.
    std::string m_grams;
    bool m_typed = false;
};

} // namespace ui
