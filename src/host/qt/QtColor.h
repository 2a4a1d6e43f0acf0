// The machine's colours (0x00BBGGRR) as Qt's and back.
#pragma once
#include <QColor>

#include <cstdint>

namespace korva {

inline QColor HostColor(uint32_t bbggrr) {
  return QColor(static_cast<int>(bbggrr & 0xFF), static_cast<int>((bbggrr >> 8) & 0xFF),
                static_cast<int>((bbggrr >> 16) & 0xFF));
}

inline uint32_t ToHostColor(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 | static_cast<uint32_t>(c.blue()) << 16;
}

}  // namespace korva
