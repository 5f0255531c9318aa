// Texts between Qt and the engine and files, which hold UTF-8.
#pragma once

#include <QString>
#include <string>

namespace devical::ui {

inline QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string Utf8(const QString& text) { return text.toStdString(); }

}  // namespace devical::ui
