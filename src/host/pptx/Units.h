#pragma once
// Unit and colour conversions between the model (points, 0x00BBGGRR) and DrawingML (EMU, RRGGBB).
#include <QString>
#include <cmath>
#include <cstdint>

namespace zov::host::pptx {

constexpr double EmuPerPoint = 12700.0;

inline std::int64_t pointsToEmu(double points) { return std::llround(points * EmuPerPoint); }
inline float emuToPoints(std::int64_t emu) { return static_cast<float>(emu / EmuPerPoint); }

inline QString bgrToHex(std::uint32_t bgr)
{
    const unsigned r = bgr & 0xFF, g = (bgr >> 8) & 0xFF, b = (bgr >> 16) & 0xFF;
    return QString::asprintf("%02X%02X%02X", r, g, b);
}

// Parses "RRGGBB" in any letter case; false when it is not six hex digits.
inline bool hexToBgr(const QString& hex, std::uint32_t& bgr)
{
    if (hex.size() != 6)
        return false;
    bool ok = false;
    const unsigned rgb = hex.toUInt(&ok, 16);
    if (!ok)
        return false;
    bgr = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    return true;
}

} // namespace zov::host::pptx
