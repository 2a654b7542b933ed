#include "drawing/NodeShape.h"

#include "drawing/GraphEncoding.h"
#include "host/HostError.h"

namespace zov::drawing {

host::Shape CreateNodeShape(host::Application& app, const DrawingSettings& settings, const QString& name,
                            int autoShapeType, const QString& label, float left, float top,
                            std::int32_t fillColor) {
    host::Shape shape = app.ActiveWindow().View().Slide().Shapes().AddShape(
        autoShapeType, left, top, NodeShapeInitialWidth, NodeShapeInitialHeight);
    try {
        shape.SetName(name);

        host::FillFormat fill = shape.Fill();
        fill.Solid();
        fill.SetVisible(true);
        fill.ForeColor().SetRGB(fillColor);

        // Selecting the empty range at the start puts the text into editing, caret first.
        host::TextRangeFormat text = shape.TextFrame().TextRange();
        text.Characters(1, 0).Select();
        text.SetText(label == ActorMarkLabel ? ActorMarkText : label);
        text.Font().SetName(settings.nodeFontName);
        text.Font().SetSize(static_cast<float>(settings.nodeFontSize));

        shape.TextFrame().SetAutoSize(host::AutoSizeShapeToFitText);
        app.ActiveWindow().Selection().Unselect();
        return shape;
    } catch (const host::HostError&) {
        return host::Shape();
    }
}

} // namespace zov::drawing
