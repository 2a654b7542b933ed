// Finding the shape under a screen pixel on a crowded slide: 5,000 overlapping shapes of every
// geometry the editor draws, plus connectors, and pixels over shapes and over empty area.
#include "host/Application.h"
#include "host/Presentation.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

using namespace zov::host;

struct CrowdedSlide {
    Application app;
    std::vector<QPoint> pixels;

    explicit CrowdedSlide(int shapeCount, bool pixelsOverEmptyArea) {
        Presentation p = app.Presentations().Add();
        Slide slide = p.Slides().Add(1, LayoutBlank);
        app.ActiveWindow().SetViewTransform(40, 30, 1.25);
        std::mt19937 random(7);
        std::uniform_real_distribution<float> x(0, 660), y(0, 500), size(20, 60);
        const int types[] = {ShapeRectangle, ShapeOval, ShapeDiamond, ShapePentagon, ShapeRoundedRectangularCallout};
        Shapes shapes = slide.Shapes();
        for (int i = 0; i < shapeCount; ++i) {
            if (i % 10 == 9) {
                shapes.AddConnector(ConnectorStraight, x(random), y(random), x(random), y(random));
                continue;
            }
            // Leave the right-hand strip of the slide empty for the misses.
            shapes.AddShape(types[i % 5], x(random) * 0.8f, y(random), size(random), size(random));
        }
        DocumentWindow w = app.ActiveWindow();
        std::uniform_real_distribution<float> missX(700, 720);
        for (int i = 0; i < 1024; ++i) {
            const float px = pixelsOverEmptyArea ? missX(random) : x(random), py = y(random);
            pixels.emplace_back(w.PointsToScreenPixelsX(px), w.PointsToScreenPixelsY(py));
        }
    }
};

void BM_RangeFromPoint(benchmark::State& state) {
    CrowdedSlide slide(static_cast<int>(state.range(0)), state.range(1) != 0);
    const DocumentWindow window = slide.app.ActiveWindow();
    std::size_t i = 0;
    for (auto _ : state) {
        const QPoint& p = slide.pixels[i++ & 1023];
        benchmark::DoNotOptimize(window.RangeFromPoint(p.x(), p.y()));
    }
}
// Second argument: 0 = pixels anywhere on the slide, 1 = pixels where no shape lies (every
// shape is looked at).
BENCHMARK(BM_RangeFromPoint)->Args({5000, 0})->Args({5000, 1})->Unit(benchmark::kMicrosecond);

} // namespace
