#include "exports/ui/papersize.h"

#include <algorithm>

namespace exports {

QPageSize reportPageSize(const QLocale& locale)
{
    static constexpr QLocale::Territory kLetter[] = {
        QLocale::UnitedStates, QLocale::Canada,    QLocale::Mexico,           QLocale::Chile,
        QLocale::Colombia,     QLocale::Venezuela, QLocale::Philippines,      QLocale::PuertoRico,
        QLocale::CostaRica,    QLocale::Guatemala, QLocale::Panama,           QLocale::ElSalvador,
        QLocale::Nicaragua,    QLocale::Honduras,  QLocale::DominicanRepublic};
    const bool letter =
        locale.measurementSystem() == QLocale::ImperialUSSystem ||
        std::find(std::begin(kLetter), std::end(kLetter), locale.territory()) != std::end(kLetter);
    return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}

} // namespace exports
