// Commands on a large selection: every shape of a slide of N nodes, each joined to the next by
// a glued connector, deleted in one command (the connectors go with their nodes). The cost
// must grow with N, not with N squared: run at two sizes and compare.
#include "app/desktop/ShapeDeletion.h"
#include "host/Application.h"
#include "host/AutoShapeType.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using namespace zov;

struct ChainSlide {
    host::Application app;
    host::Presentation presentation;
    host::Slide slide;
    std::vector<host::Shape> nodes;

    explicit ChainSlide(int count)
    {
        presentation = app.Presentations().Add();
        slide = presentation.Slides().Add(1, host::LayoutBlank);
        host::Shapes shapes = slide.Shapes();
        for (int i = 0; i < count; ++i)
            nodes.push_back(shapes.AddShape(host::ShapeRectangle, 10.0f + (i % 40) * 16, 10.0f + (i / 40) % 30 * 16, 12, 10));
        for (int i = 1; i < count; ++i) {
            host::Shape c = shapes.AddConnector(host::ConnectorStraight, 0, 0, 1, 1);
            c.ConnectorFormat().BeginConnect(nodes[static_cast<std::size_t>(i - 1)], 4);
            c.ConnectorFormat().EndConnect(nodes[static_cast<std::size_t>(i)], 2);
        }
    }
};

void BM_DeleteSelectedNodes(benchmark::State& state)
{
    const auto count = static_cast<int>(state.range(0));
    std::unique_ptr<ChainSlide> chain;
    for (auto _ : state) {
        state.PauseTiming(); // building the slide, and tearing down the last one, are not the command's
        chain.reset();
        chain = std::make_unique<ChainSlide>(count);
        state.ResumeTiming();
        const int deleted = app::DeleteWithGluedConnectors(chain->nodes);
        if (deleted != 2 * count - 1 || chain->slide.Shapes().Count() != 0)
            state.SkipWithError("the selection was not deleted whole");
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_DeleteSelectedNodes)->Arg(4000)->Arg(32000)->Unit(benchmark::kMillisecond);

} // namespace
