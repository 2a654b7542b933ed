#pragma once
// Drawing colours are 0x00BBGGRR integers (red in the low byte); widgets use QColor.
#include <QColor>
#include <cstdint>

namespace zov::ui {

inline QColor ColorFromBgr(std::int32_t bgr) {
    const auto v = static_cast<std::uint32_t>(bgr);
    return QColor(static_cast<int>(v & 0xFFu), static_cast<int>((v >> 8) & 0xFFu), static_cast<int>((v >> 16) & 0xFFu));
}

inline std::int32_t BgrFromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8) |
                                     (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

} // namespace zov::ui
