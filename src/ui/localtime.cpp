#include "ui/localtime.h"

#include "ui/qtext.h"

#include <QDateTime>

namespace ui {

namespace {

constexpr char kShownFormat[] = "yyyy-MM-dd HH:mm:ss";

} // namespace

std::string localTimeText(std::string_view iso)
{
    const QDateTime moment = QDateTime::fromString(toQString(iso), Qt::ISODate);
    if (!moment.isValid())
        return std::string(iso);
    return toStdString(moment.toLocalTime().toString(QString::fromLatin1(kShownFormat)));
}

std::optional<std::string> isoFromLocalText(std::string_view typed)
{
    const QString text = toQString(typed).trimmed();
    if (text.isEmpty())
        return std::string();
    for (const char* format : {kShownFormat, "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        const QDateTime moment = QDateTime::fromString(text, QString::fromLatin1(format));
        if (moment.isValid())
            return toStdString(moment.toString(Qt::ISODate));
    }
    return std::nullopt;
}

} // namespace ui
