#pragma once

#include <QValidator>

// Keeps the weight field in its form while the user edits it: digits before the comma
// without padding, the comma fixed, three decimal positions. A Qt input mask cannot do it,
// because a mask gives every position a fixed place.
class WeightValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;
};
