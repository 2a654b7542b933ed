#include "editor/SlideGeometry.h"

#include <cmath>
#include <limits>

namespace zov::editor {

namespace {
double MapAxis(double pixel, double origin, double end, double sizePoints) {
    const double span = end - origin;
    if (span == 0)
        return 0;
    return (pixel - origin) * sizePoints / span;
}
} // namespace

SlidePoint ToSlidePoints(const SlideGeometry& geometry, double x, double y) {
    return SlidePoint{MapAxis(x, geometry.OriginX, geometry.EndX, geometry.WidthPoints),
                      MapAxis(y, geometry.OriginY, geometry.EndY, geometry.HeightPoints)};
}

std::int16_t RoundToInt16(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double low = std::numeric_limits<std::int16_t>::min();
    constexpr double high = std::numeric_limits<std::int16_t>::max();
    if (value <= low)
        return std::numeric_limits<std::int16_t>::min();
    if (value >= high)
        return std::numeric_limits<std::int16_t>::max();
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0))
        whole += 1;
    return static_cast<std::int16_t>(whole);
}

} // namespace zov::editor
