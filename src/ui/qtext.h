#pragma once

#include <QFile>
#include <QString>

#include <string>
#include <string_view>

namespace ui {

// The core speaks UTF-8 std::string; widgets speak QString. Texts cross only here.
inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toStdString(const QString& text)
{
    return text.toStdString();
}

// A path from a dialog as the system names the file, for the core's file functions.
inline std::string toLocalPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// A path the core found, as dialogs and messages show it.
inline QString fromLocalPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace ui
