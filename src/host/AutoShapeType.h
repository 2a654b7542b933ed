#pragma once
// Auto-shape type numbers as the presentation object model publishes them. Only the ones this
// program draws or recognises are named; any other geometry read from a file reports
// NotPrimitive so that no reader of slides mistakes it for a graph node.
namespace zov::host {

enum AutoShapeType : int {
    ShapeMixed = -2, // every connector reports this
    ShapeRectangle = 1,
    ShapeDiamond = 4,
    ShapeOval = 9,
    ShapeNoSymbol = 19,
    ShapePentagon = 51, // the "home plate" arrow
    ShapeFlowchartDecision = 63,
    ShapeRoundedRectangularCallout = 106,
    ShapeNotPrimitive = 138, // pictures, groups, tables, unknown geometries
};

enum AutoSizeMode : int { AutoSizeNone = 0, AutoSizeShapeToFitText = 1, AutoSizeTextToFitShape = 2 };
enum ArrowheadStyle : int { ArrowheadNone = 1, ArrowheadTriangle = 2, ArrowheadOpen = 3, ArrowheadStealth = 4, ArrowheadDiamond = 5, ArrowheadOval = 6 };
enum ViewTypeCode : int { ViewSlide = 1, ViewNormal = 9 };
constexpr int LayoutBlank = 12;
constexpr int ConnectorStraight = 1;
constexpr int TextOrientationHorizontal = 1;

} // namespace zov::host
