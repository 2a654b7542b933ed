// Drawing node shapes with auto-size: 10,000 labelled shapes on one slide.
#include "drawing/DrawingSettings.h"
#include "drawing/GraphEncoding.h"
#include "drawing/NodeShape.h"
#include "host/Application.h"
#include "host/Presentation.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

void BM_CreateNodeShapes(benchmark::State& state) {
    zov::bench::EnsureGuiApplication();
    const int count = static_cast<int>(state.range(0));
    const zov::drawing::DrawingSettings settings;
    const QString labels[] = {QStringLiteral("Cat:Tom"), QStringLiteral("Agnt"), QStringLiteral("Plus"),
                              QStringLiteral("Proposition:*p1"), QStringLiteral("ActDF")};
    const int types[] = {zov::drawing::ConceptShapeType, zov::drawing::RelationShapeType,
                         zov::drawing::ActorShapeType, zov::drawing::CoreferentConceptShapeType,
                         zov::drawing::ActorMarkShapeType};
    for (auto _ : state) {
        state.PauseTiming();
        auto app = std::make_unique<zov::host::Application>();
        app->Presentations().Add().Slides().Add(1, zov::host::LayoutBlank);
        app->ActiveWindow().View().GotoSlide(1);
        state.ResumeTiming();

        for (int i = 0; i < count; ++i) {
            const zov::host::Shape shape = zov::drawing::CreateNodeShape(
                *app, settings, QStringLiteral("ABCDEFGH"), types[i % 5], labels[i % 5],
                static_cast<float>(i % 600), static_cast<float>((i / 600) * 30 % 500), settings.conceptColor);
            benchmark::DoNotOptimize(shape);
        }

        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_CreateNodeShapes)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
