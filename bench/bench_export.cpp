// Speed of the Export command: a presentation of S graph slides with N nodes each, scanned and
// written as CGIF text. Each slide holds a title label, N/2 concepts (every other one with a
// coreference label), N/2 - N/10 relations joining two concepts each, N/10 actors with two
// inputs and one output, and one comment; about 1.4 N glued arcs per slide.
//
//   to memory   the text kept in memory: slides per second and bytes of text per second
//   to file     the same written to a file (UTF-8, CR LF) and closed
#include "cgif/export/ExportCommand.h"
#include "drawing/DrawingSettings.h"
#include "drawing/GraphEncoding.h"
#include "drawing/NodeShape.h"
#include "host/Application.h"
#include "platform/MessageBox.h"
#include "platform/TextStream.h"

#include "BenchSupport.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>

namespace {

using namespace zov;


class CountingStream : public platform::TextStream {
public:
    QString ReadLine() override { return {}; }
    bool AtEndOfStream() const override { return true; }
    void Write(const QString& text) override { text_ += text; }
    void WriteLine(const QString& text) override { text_ += text + QStringLiteral("\r\n"); }
    void Close() override {}
    qsizetype size() const { return text_.size(); }
private:
    QString text_;
};

QString Id(long slide, long node) {
    QString id;
    long value = slide * 100000 + node;
    for (int i = 0; i < 8; ++i, value /= 26)
        id += QChar(u'A' + static_cast<char16_t>(value % 26));
    return id;
}

void Arc(host::Shapes shapes, const host::Shape& from, const host::Shape& to) {
    host::Shape arc = shapes.AddConnector(host::ConnectorStraight, drawing::ArcInitialBeginX,
                                          drawing::ArcInitialBeginY, drawing::ArcInitialEndX,
                                          drawing::ArcInitialEndY);
    arc.Line().SetEndArrowheadStyle(drawing::ArcArrowhead);
    arc.ConnectorFormat().BeginConnect(from, drawing::ArcGlueSite);
    arc.ConnectorFormat().EndConnect(to, drawing::ArcGlueSite);
}

// One presentation per size, drawn once and kept for every run of that size.
class Deck {
public:
    Deck(long slideCount, long nodesPerSlide) {
        host::Presentation presentation = app_.Presentations().Add();
        const long concepts = nodesPerSlide / 2;
        const long actors = nodesPerSlide / 10;
        const long relations = nodesPerSlide - concepts - actors - 1;
        for (long s = 1; s <= slideCount; ++s) {
            host::Slide slide = presentation.Slides().Add(static_cast<int>(s), host::LayoutBlank);
            slide.SetName(QStringLiteral("G") + QString::number(s));
            app_.ActiveWindow().View().GotoSlide(static_cast<int>(s));
            host::Shapes shapes = slide.Shapes();
            host::Shape title = shapes.AddLabel(host::TextOrientationHorizontal, 0, 0, 100, 45);
            title.SetAutoShapeType(drawing::TitleLabelShapeType);
            title.TextFrame().TextRange().SetText(slide.Name() + QStringLiteral(" is Graph"));
            long node = 0;
            const auto draw = [&](int type, const QString& name, const QString& label) {
                const float left = static_cast<float>((node * 37) % 680) + 0.25f;
                const float top = static_cast<float>((node * 53) % 500) + 0.5f;
                ++node;
                return drawing::CreateNodeShape(app_, settings_, name, type, label, left, top, 0x00FFFFFF);
            };
            std::vector<host::Shape> conceptShapes;
            for (long c = 0; c < concepts; ++c) {
                const QString label = c % 2 == 0 ? QStringLiteral("x") + QString::number(c) : QString();
                conceptShapes.push_back(draw(drawing::ConceptShapeType, label + u'/' + Id(s, node),
                                             QStringLiteral("Concept:'") + QString::number(c) + u'\''));
            }
            const auto conceptAt = [&](long i) { return conceptShapes[static_cast<std::size_t>(i % concepts)]; };
            for (long r = 0; r < relations; ++r) {
                const host::Shape relation = draw(drawing::RelationShapeType, Id(s, node), QStringLiteral("Rel"));
                Arc(shapes, conceptAt(r), relation);
                Arc(shapes, relation, conceptAt(r + 1));
            }
            for (long a = 0; a < actors; ++a) {
                const host::Shape actor = draw(drawing::ActorShapeType, Id(s, node), QStringLiteral("Plus"));
                Arc(shapes, conceptAt(3 * a), actor);
                Arc(shapes, conceptAt(3 * a + 1), actor);
                Arc(shapes, actor, conceptAt(3 * a + 2));
            }
            draw(drawing::CommentShapeType, Id(s, node), QStringLiteral("a remark"));
        }
    }
    host::Presentation presentation() const { return app_.ActivePresentation(); }

private:
    host::Application app_;
    drawing::DrawingSettings settings_;
};

Deck& DeckOf(long slides, long nodes) {
    static std::map<std::pair<long, long>, std::unique_ptr<Deck>> decks;
    bench::EnsureGuiApplication();
    auto& deck = decks[{slides, nodes}];
    if (!deck)
        deck = std::make_unique<Deck>(slides, nodes);
    return *deck;
}

void BM_ExportToMemory(benchmark::State& state) {
    Deck& deck = DeckOf(state.range(0), state.range(1));
    bench::ConfirmOnlyMessages messages(QStringLiteral("File written"));
    qsizetype chars = 0;
    for (auto _ : state) {
        CountingStream out;
        if (cgif::exporter::ExportGraphs(deck.presentation(), out, messages) != cgif::exporter::ExportOutcome::Written)
            state.SkipWithError("nothing written");
        chars = out.size();
        benchmark::DoNotOptimize(chars);
    }
    state.counters["slides/s"] = benchmark::Counter(static_cast<double>(state.range(0) * state.iterations()),
                                                    benchmark::Counter::kIsRate);
    state.counters["chars"] = static_cast<double>(chars);
    state.SetBytesProcessed(static_cast<int64_t>(chars) * state.iterations());
}
// Many small slides (as an import of small graphs makes) at two sizes: a slide costs the same
// whatever the number of slides.
BENCHMARK(BM_ExportToMemory)->Args({10, 100})->Args({100, 100})->Args({10, 1000})->Args({4000, 10})->Args({12000, 10})->Args({32000, 10})->Unit(benchmark::kMillisecond);

void BM_ExportToFile(benchmark::State& state) {
    Deck& deck = DeckOf(state.range(0), state.range(1));
    bench::ConfirmOnlyMessages messages(QStringLiteral("File written"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.cgf"));
    for (auto _ : state) {
        if (cgif::exporter::ExportGraphsToFile(deck.presentation(), path, messages) !=
            cgif::exporter::ExportOutcome::Written)
            state.SkipWithError("nothing written");
    }
    state.counters["slides/s"] = benchmark::Counter(static_cast<double>(state.range(0) * state.iterations()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExportToFile)->Args({100, 100})->Unit(benchmark::kMillisecond);

} // namespace
