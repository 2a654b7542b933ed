#include "host/pptx/PresetMap.h"

#include "host/AutoShapeType.h"

namespace zov::host::pptx {
namespace {
struct Pair {
    int type;
    const char* preset;
};
constexpr Pair presets[] = {
    {ShapeRectangle, "rect"},           {ShapeDiamond, "diamond"},
    {ShapeOval, "ellipse"},             {ShapeNoSymbol, "noSmoking"},
    {ShapePentagon, "homePlate"},       {ShapeFlowchartDecision, "flowChartDecision"},
    {ShapeRoundedRectangularCallout, "wedgeRoundRectCallout"},
};
constexpr Pair lineEnds[] = {
    {ArrowheadNone, "none"},   {ArrowheadTriangle, "triangle"}, {ArrowheadOpen, "arrow"},
    {ArrowheadStealth, "stealth"}, {ArrowheadDiamond, "diamond"}, {ArrowheadOval, "oval"},
};
} // namespace

int autoShapeTypeOfPreset(QStringView preset)
{
    for (const auto& p : presets)
        if (preset == QLatin1String(p.preset))
            return p.type;
    return 0;
}

QString presetOfAutoShapeType(int type)
{
    for (const auto& p : presets)
        if (p.type == type)
            return QLatin1String(p.preset);
    return {};
}

int arrowheadOfLineEnd(QStringView type)
{
    for (const auto& p : lineEnds)
        if (type == QLatin1String(p.preset))
            return p.type;
    return ArrowheadNone;
}

QString lineEndOfArrowhead(int style)
{
    for (const auto& p : lineEnds)
        if (p.type == style)
            return QLatin1String(p.preset);
    return QStringLiteral("none");
}

} // namespace zov::host::pptx
