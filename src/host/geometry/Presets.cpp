#include "host/geometry/Presets.h"

#include "host/AutoShapeType.h"

#include <array>
#include <utility>

namespace zov::host {

namespace {
struct PresetName {
    int type;
    const char* preset;
};
constexpr std::array<PresetName, 7> kPresets{{
    {ShapeRectangle, "rect"},
    {ShapeDiamond, "diamond"},
    {ShapeOval, "ellipse"},
    {ShapeNoSymbol, "noSmoking"},
    {ShapePentagon, "homePlate"},
    {ShapeFlowchartDecision, "flowChartDecision"},
    {ShapeRoundedRectangularCallout, "wedgeRoundRectCallout"},
}};
} // namespace

QString presetForAutoShapeType(int type)
{
    for (const auto& p : kPresets)
        if (p.type == type)
            return QString::fromLatin1(p.preset);
    return {};
}

int autoShapeTypeForPreset(const QString& preset)
{
    for (const auto& p : kPresets)
        if (preset == QLatin1String(p.preset))
            return p.type;
    return ShapeNotPrimitive;
}

} // namespace zov::host
