#pragma once

#include <QLocale>
#include <QPageSize>

namespace exports {

// Letter where it is the custom (the Americas that use it, the Philippines), A4 elsewhere.
QPageSize reportPageSize(const QLocale& locale);

} // namespace exports
