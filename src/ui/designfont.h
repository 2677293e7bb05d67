#pragma once

#include <QFont>

namespace ui {

// The windows were laid out for a small 8-point sans font; the desktop's default would clip
// their boxes. Liberation Sans is metric-compatible with Arial and always installed.
inline QFont designFont()
{
    QFont font(QStringLiteral("Liberation Sans"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace ui
