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

// A colour stored blue-green-red as the six digits "RRGGBB", upper case (bits above 24 ignored).
inline void bgrToHexDigits(std::uint32_t bgr, char digits[6])
{
    constexpr char Hex[] = "0123456789ABCDEF";
    const std::uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    for (int i = 0; i < 6; ++i)
        digits[i] = Hex[(rgb >> (20 - 4 * i)) & 0xF];
}
inline QString bgrToHex(std::uint32_t bgr)
{
    char digits[6];
    bgrToHexDigits(bgr, digits);
    return QString::fromLatin1(digits, 6);
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
