// Text between the machine's code page (Windows-1252) and Qt's strings.
#pragma once
#include <QString>

#include <string>

#include "host/CodePage.h"

namespace korva {

inline QString ToQt(const std::string& machineText) { return QString::fromStdString(Cp1252ToUtf8(machineText)); }
inline std::string FromQt(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

}  // namespace korva
