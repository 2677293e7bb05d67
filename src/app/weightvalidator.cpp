#include "app/weightvalidator.h"

#include "table/weightmask.h"

#include <algorithm>

QValidator::State WeightValidator::validate(QString& input, int& pos) const
{
    // The rules count bytes; outside ASCII a byte is no longer a position, and no character
    // there belongs in a weight anyway.
    if (std::any_of(input.cbegin(), input.cend(), [](QChar c) { return c.unicode() >= 0x80; }))
        return Invalid;
    const QByteArray text = input.toLatin1();
    const auto edit = table::normalizeWeightEdit(std::string_view(text.constData(), text.size()),
                                                 static_cast<std::size_t>(std::max(pos, 0)));
    if (!edit)
        return Invalid;
    input = QString::fromLatin1(edit->display.data(), static_cast<qsizetype>(edit->display.size()));
    pos = static_cast<int>(edit->cursor);
    return Acceptable;
}
