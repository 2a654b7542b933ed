// Commands on a large selection, on a slide of N nodes each joined to the next by a glued
// connector: every node deleted in one command (the connectors go with their nodes), and every
// shape taken into the selection by one band drawn with the mouse over the whole slide. The
// cost must grow with N, not with N squared: run at two sizes and compare.
#include "OffscreenApplication.h"
#include "app/desktop/ShapeDeletion.h"
#include "app/desktop/SlideCanvas.h"
#include "app/document/DocumentHistory.h"
#include "host/Application.h"
#include "host/AutoShapeType.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>
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

void BM_BandSelectsEveryShape(benchmark::State& state)
{
    bench::OffscreenApplication();
    const auto count = static_cast<int>(state.range(0));
    ChainSlide chain(count);
    app::DocumentHistory history(chain.presentation);
    app::SlideCanvas canvas;
    canvas.resize(1280, 960);
    canvas.setDocument(chain.app.ActiveWindow(), &history);
    canvas.show();
    QApplication::processEvents();
    auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, canvas.viewport()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(canvas.viewport(), &event);
    };
    // From the empty bottom-right corner of the slide to its top-left corner.
    const QPointF from = canvas.slideToViewport(QPointF(715, 535));
    const QPointF to = canvas.slideToViewport(QPointF(1, 1));
    for (auto _ : state) {
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        state.PauseTiming();
        const std::size_t taken = canvas.selection().size();
        canvas.clearSelection();
        state.ResumeTiming();
        if (taken != static_cast<std::size_t>(2 * count - 1)) {
            state.SkipWithError(("the band took in " + std::to_string(taken) + " shapes").c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_BandSelectsEveryShape)->Arg(4000)->Arg(32000)->Unit(benchmark::kMillisecond);

} // namespace
