// The editor's node table rebuild and one run of a command (rebuild included) on a
// presentation of 50 slides x 400 shapes: a title label, 133 concepts, 133 relations and 133
// glued connectors per slide.
#include "drawing/DrawingSettings.h"
#include "drawing/GraphEncoding.h"
#include "editor/EditorSession.h"
#include "host/Application.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "platform/fake/FixedCursorPosition.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Fixture {
    zov::host::Application app;
    zov::drawing::DrawingSettings settings;
    zov::platform::FakeMessageBoxes boxes;
    zov::platform::FixedCursorPosition cursor;
    zov::editor::MemoryTextBox textBox;
    zov::editor::EditorSession session{app, settings, boxes, cursor};
    int shapes = 0;

    Fixture(int slideCount, int shapesPerSlide) {
        using namespace zov;
        host::Presentation presentation = app.Presentations().Add();
        app.ActiveWindow().SetViewTransform(0, 0, 1.0);
        session.SetTextBox(&textBox);
        const int triples = (shapesPerSlide - 1) / 3;
        int serial = 0;
        for (int s = 1; s <= slideCount; ++s) {
            textBox.SetText(QString());
            session.AddGraphSlide();
            host::Shapes onSlide = app.ActiveWindow().View().Slide().Shapes();
            for (int t = 0; t < triples; ++t) {
                const float left = static_cast<float>(20 + (t % 10) * 70);
                const float top = static_cast<float>(60 + (t / 10) * 35);
                host::Shape cat = onSlide.AddShape(drawing::ConceptShapeType, left, top, 30, 12);
                cat.SetName(QStringLiteral("x%1/C%2").arg(serial).arg(serial));
                cat.TextFrame().TextRange().SetText(QStringLiteral("Cat:'Tom'"));
                host::Shape relation = onSlide.AddShape(drawing::RelationShapeType, left + 35, top, 30, 12);
                relation.SetName(QStringLiteral("R%1").arg(serial));
                relation.TextFrame().TextRange().SetText(QStringLiteral("On"));
                host::Shape arc = onSlide.AddConnector(host::ConnectorStraight, 0, 0, 1, 1);
                arc.ConnectorFormat().BeginConnect(cat, 1);
                arc.ConnectorFormat().EndConnect(relation, 1);
                ++serial;
            }
            shapes += onSlide.Count();
        }
        app.ActiveWindow().View().GotoSlide(1);
    }
};

void BM_RebuildNodeTables(benchmark::State& state) {
    zov::bench::EnsureGuiApplication();
    Fixture fixture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        fixture.session.RebuildNodeTables();
        benchmark::DoNotOptimize(fixture.session.Reader().Tables().BoundArray.data());
    }
    state.counters["shapes"] = fixture.shapes;
    state.SetItemsProcessed(state.iterations() * fixture.shapes);
}
BENCHMARK(BM_RebuildNodeTables)->Args({50, 400})->Unit(benchmark::kMillisecond);

// The change-label command reading a concept's label into the text box: measure, find the
// shape under the pointer, read, rebuild. It leaves the slides as they are, so every run is
// the same.
void BM_RunCommandAtPointer(benchmark::State& state) {
    zov::bench::EnsureGuiApplication();
    Fixture fixture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    fixture.session.SetCommandMode(zov::editor::CommandCode::ChangeLabel);
    fixture.cursor.setPosition(QPoint(25, 65)); // inside the first concept
    for (auto _ : state) {
        fixture.textBox.SetText(QString());
        fixture.session.RunCommandAtPointer();
    }
    if (fixture.textBox.Text() != QStringLiteral("Cat:'Tom'"))
        state.SkipWithError("the command did not read the concept under the pointer");
    state.counters["shapes"] = fixture.shapes;
}
BENCHMARK(BM_RunCommandAtPointer)->Args({50, 400})->Unit(benchmark::kMillisecond);

} // namespace
