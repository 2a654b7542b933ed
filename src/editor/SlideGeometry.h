#pragma once
// Where the slide lies on the screen, measured before every command, and the linear map from
// a screen pixel to slide points that the commands use to place shapes at the mouse pointer.
#include <cstdint>

namespace zov::editor {

struct SlideGeometry {
    double OriginX = 0;      // screen x in pixels of slide x = 0
    double OriginY = 0;      // screen y in pixels of slide y = 0
    double EndX = 0;         // screen x in pixels of slide x = slide width
    double EndY = 0;         // screen y in pixels of slide y = slide height
    double WidthPoints = 0;  // slide width in points
    std::int16_t HeightPoints = 0; // slide height in points, rounded half to even
};

struct SlidePoint {
    double Left = 0;
    double Top = 0;
};

// Screen pixels to slide points by the map between the two measured corners. When the two
// corners coincide on an axis (nothing to divide by) that coordinate is 0.
SlidePoint ToSlidePoints(const SlideGeometry& geometry, double x, double y);

// A value rounded to a whole number, halves to the even neighbour, held in 16 bits; values
// beyond the 16-bit range stop at its ends and a value that is not a number gives 0.
std::int16_t RoundToInt16(double value);

} // namespace zov::editor
