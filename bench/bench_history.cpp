// Undo steps in a large document: N slides of four shapes each (two nodes, a relation and an
// arc between them), and one shape moved and recorded per step, as the editor records every
// command. A step keeps copies of the records it changed and a few words per slide and shape,
// so its cost grows with the document's size only by those words: run at two sizes and compare.
#include "app/document/DocumentHistory.h"
#include "host/Application.h"
#include "host/AutoShapeType.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace zov;

struct ManySlides {
    host::Application app;
    host::Presentation presentation;
    std::vector<host::Shape> movable;

    explicit ManySlides(int count)
    {
        presentation = app.Presentations().Add();
        for (int i = 1; i <= count; ++i) {
            host::Shapes shapes = presentation.Slides().Add(i, host::LayoutBlank).Shapes();
            host::Shape cat = shapes.AddShape(host::ShapeRectangle, 100, 50, 60, 30);
            cat.TextFrame().TextRange().SetText(QStringLiteral("Cat"));
            shapes.AddShape(host::ShapeRectangle, 300, 50, 60, 30).TextFrame().TextRange().SetText(QStringLiteral("Mat"));
            host::Shape on = shapes.AddShape(host::ShapeOval, 200, 150, 50, 30);
            host::Shape arc = shapes.AddConnector(host::ConnectorStraight, 0, 0, 1, 1);
            arc.ConnectorFormat().BeginConnect(cat, 3);
            arc.ConnectorFormat().EndConnect(on, 1);
            movable.push_back(cat);
        }
    }
};

void BM_RecordEditStep(benchmark::State& state)
{
    const auto slides = static_cast<int>(state.range(0));
    ManySlides document(slides);
    app::DocumentHistory history(document.presentation);
    std::size_t step = 0;
    for (auto _ : state) {
        host::Shape& shape = document.movable[step++ % document.movable.size()];
        shape.SetLeft(shape.Left() + 1);
        if (!history.record())
            state.SkipWithError("the step was not recorded");
    }
    state.counters["steps"] = static_cast<double>(history.stepCount());
}
BENCHMARK(BM_RecordEditStep)->Arg(1000)->Arg(8000)->Unit(benchmark::kMicrosecond);

} // namespace
