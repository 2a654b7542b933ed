// Canvas speed: a slide of 500 shapes and 300 glued connectors, painted whole (one frame of
// the canvas or a thumbnail), and one drag step (a shape moves, its connectors follow, the
// canvas repaints), and a whole repaint of the canvas after a change and with none. A frame
// should stay under 16 ms.
#include "OffscreenApplication.h"
#include "app/desktop/SlideCanvas.h"
#include "app/document/DocumentHistory.h"
#include "app/render/SlidePainter.h"
#include "host/Application.h"
#include "host/AutoShapeType.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace zov;

struct BusySlide {
    host::Application app;
    host::Presentation presentation;
    host::Slide slide;
    std::vector<host::Shape> nodes;

    BusySlide()
    {
        presentation = app.Presentations().Add();
        slide = presentation.Slides().Add(1, host::LayoutBlank);
        host::Shapes shapes = slide.Shapes();
        const int types[] = {host::ShapeRectangle, host::ShapeOval, host::ShapeDiamond, host::ShapeRoundedRectangularCallout};
        for (int i = 0; i < 500; ++i) {
            host::Shape s = shapes.AddShape(types[i % 4], 10.0f + (i % 25) * 28, 10.0f + (i / 25) * 26, 24, 18);
            s.Fill().ForeColor().SetRGB(0x00CCFF + i);
            s.TextFrame().TextRange().SetText(QStringLiteral("N%1").arg(i));
            s.TextFrame().TextRange().Font().SetSize(8);
            nodes.push_back(s);
        }
        for (int i = 0; i < 300; ++i) {
            host::Shape c = shapes.AddConnector(host::ConnectorStraight, 0, 0, 1, 1);
            c.ConnectorFormat().BeginConnect(nodes[static_cast<std::size_t>(i)], 4);
            c.ConnectorFormat().EndConnect(nodes[static_cast<std::size_t>((i * 7 + 26) % 500)], 2);
            c.Line().SetEndArrowheadStyle(host::ArrowheadTriangle);
        }
    }
};

// The busy slide shown on a 1280 x 960 canvas, laid out and painted once.
struct CanvasOnBusySlide {
    CanvasOnBusySlide()
    {
        bench::OffscreenApplication();
        canvas.resize(1280, 960);
        canvas.setDocument(busy.app.ActiveWindow(), &history);
        canvas.show();
        QApplication::processEvents();
    }
    BusySlide busy;
    app::DocumentHistory history{busy.presentation};
    app::SlideCanvas canvas;
};

void BM_PaintBusySlide(benchmark::State& state)
{
    bench::OffscreenApplication();
    BusySlide busy;
    app::render::SlidePainter painter;
    QImage image(1280, 960, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&image);
        p.scale(1280.0 / 720.0, 1280.0 / 720.0);
        painter.paintSlide(p, busy.slide.data());
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintBusySlide)->Unit(benchmark::kMillisecond);

// The whole canvas repainted after a change of the slide: page, every shape, the selection.
void BM_RepaintCanvas(benchmark::State& state)
{
    CanvasOnBusySlide shown;
    app::SlideCanvas& canvas = shown.canvas;
    host::Shape touched = shown.busy.nodes.front();
    for (auto _ : state) {
        touched.SetLeft(touched.Left()); // the same place, but a change: the layer is painted anew
        canvas.viewport()->repaint();
    }
}
BENCHMARK(BM_RepaintCanvas)->Unit(benchmark::kMillisecond);

// The canvas repainted with nothing changed on the slide (an expose, the window activated, the
// selection changed): the slide's layer as painted last, and the selection on top.
void BM_RepaintCanvasUnchanged(benchmark::State& state)
{
    CanvasOnBusySlide shown;
    app::SlideCanvas& canvas = shown.canvas;
    canvas.setSelection({shown.busy.nodes[10], shown.busy.nodes[20]});
    for (auto _ : state)
        canvas.viewport()->repaint();
}
BENCHMARK(BM_RepaintCanvasUnchanged)->Unit(benchmark::kMillisecond);

void BM_DragStepOnCanvas(benchmark::State& state)
{
    CanvasOnBusySlide shown;
    app::SlideCanvas& canvas = shown.canvas;
    // Press on a node and drag it: each step is one mouse move and one repaint.
    host::Shape moving = shown.busy.nodes[260];
    const float before = moving.Left();
    const QPointF start = canvas.slideToViewport(QPointF(moving.Left() + 12, moving.Top() + 3));
    auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, canvas.viewport()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(canvas.viewport(), &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    QPointF at = start + QPointF(10, 0);
    for (auto _ : state) {
        at += QPointF(0.5, 0.25);
        send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        canvas.viewport()->repaint();
    }
    send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    if (!(moving.Left() > before))
        state.SkipWithError("the drag did not move the node");
}
BENCHMARK(BM_DragStepOnCanvas)->Unit(benchmark::kMillisecond);

} // namespace
