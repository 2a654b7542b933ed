#pragma once
// Unit and colour conversions between the model (points, 0x00BBGGRR) and DrawingML (EMU, RRGGBB).
#include <QString>
#include <cctype>
#include <cmath>
#include <cstdint>

namespace zov::host::pptx {

constexpr double EmuPerPoint = 12700.0;

// The range DrawingML allows for coordinates (ST_Coordinate).
constexpr std::int64_t MaxCoordinateEmu = 27273042316900ll;

// Rounds to whole EMU; values the format cannot hold (not finite, out of range) are clamped.
inline std::int64_t pointsToEmu(double points)
{
    if (!std::isfinite(points))
        return 0;
    const double emu = points * EmuPerPoint;
    if (emu >= static_cast<double>(MaxCoordinateEmu))
        return MaxCoordinateEmu;
    if (emu <= -static_cast<double>(MaxCoordinateEmu))
        return -MaxCoordinateEmu;
    return std::llround(emu);
}
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
    for (const QChar c : hex)
        if (!isxdigit(c.unicode() < 128 ? c.toLatin1() : 'x'))
            return false;
    bool ok = false;
    const unsigned rgb = hex.toUInt(&ok, 16);
    if (!ok)
        return false;
    bgr = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    return true;
}

} // namespace zov::host::pptx
