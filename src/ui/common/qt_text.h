// Texts between Qt and the engine and files, which hold UTF-8.
#pragma once

#include <QString>
#include <string>

#include "engine/builtin_texts.h"

namespace devical::ui {

inline QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string Utf8(const QString& text) { return text.toStdString(); }

// An ISO day ("2026-12-07") as the installed language writes it ("07/12/2026", "07.12.2026");
// a text that is no day as it is.
inline QString ShownDate(const std::string& iso) { return Text(engine::ShownDate(iso)); }

}  // namespace devical::ui
