// What a user does end to end: draw "Cat on Mat" from typed labels, link it, relabel it,
// export it and import the text again into a new presentation, where it must read back as
// the same graph.
#include "EditorFixture.h"

#include "cgif/export/ExportCommand.h"
#include "cgif/import/GraphBuilder.h"
#include "cgif/import/ImportCommand.h"
#include "drawing/NameParts.h"
#include "platform/TextStream.h"
#include "platform/fake/MemoryTextStream.h"

namespace zov::editor::testing {
namespace {

QString Export(const host::Presentation& presentation, platform::MessageBoxes& boxes) {
    platform::MemoryTextStream out;
    const auto outcome = cgif::exporter::ExportGraphs(presentation, out, boxes);
    EXPECT_EQ(outcome, cgif::exporter::ExportOutcome::Written);
    return out.written();
}

// A graph as the node tables describe it, without ids and names: every node by kind, type,
// referent and position, every arc by the nodes at its two ends, each list sorted. A label
// keeps the blank typed after its ":", which the text read back does not carry.
QStringList GraphOf(const cgif::ReaderTables& tables) {
    QHash<QString, QString> nodeById;
    QStringList graph;
    for (const cgif::NodeRecord& node : tables.BoundArray) {
        const QString text = QStringLiteral("%1 %2 %3 @%4,%5")
                                 .arg(node.Kind)
                                 .arg(node.Kind == cgif::NodeKind::Graph ? node.Name + QStringLiteral(" is ") + node.Type
                                                                         : node.Type.ToString(),
                                      node.Referent.View().trimmed())
                                 .arg(node.X)
                                 .arg(node.Y);
        nodeById.insert(node.Id.ToString(), text);
        graph << text;
    }
    for (const cgif::LinkRecord& link : tables.Links)
        graph << nodeById.value(drawing::IdPart(link.From.ToString())) + QStringLiteral(" -> ") +
                     nodeById.value(drawing::IdPart(link.To.ToString()));
    graph.sort();
    return graph;
}

using ScenarioTest = EditorTest;

TEST_F(ScenarioTest, CatOnMatDrawnLinkedRelabelledExportedAndReadBack) {
    AddGraph();
    const host::Shape cat = Draw(CommandCode::NewConcept, QStringLiteral("Cat"), 50, 200);
    const host::Shape on = Draw(CommandCode::NewRelation, QStringLiteral("On"), 250, 200);
    const host::Shape mat = Draw(CommandCode::NewConcept, QStringLiteral("Mat"), 450, 200);
    Link(cat, on);
    Link(on, mat);

    session.SetCommandMode(CommandCode::ChangeLabel);
    RunAgainOn(cat);
    ASSERT_EQ(textBox.Text(), QStringLiteral("Cat"));
    textBox.SetText(QStringLiteral("Cat: 'Tom'"));
    session.RunCommandAtPointer();
    EXPECT_EQ(TextOf(cat), QStringLiteral("Cat: 'Tom'"));
    ExpectNoMessage();

    const QStringList drawn = GraphOf(session.Reader().Tables());
    ASSERT_EQ(drawn.size(), 6) << drawn.join(u'\n').toStdString(); // title, three nodes, two arcs

    const QString text = Export(presentation, boxes);
    EXPECT_TRUE(text.startsWith(QStringLiteral(";%Graph*G1%;"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("[Mat*x1;450@200;"))) << text.toStdString();

    // A second editor over a new presentation imports the text.
    host::Application otherApp;
    otherApp.Presentations().Add();
    platform::FakeMessageBoxes otherBoxes;
    EditorSession other(otherApp, settings, otherBoxes, cursor);
    cgif::SlideBuilder builder(otherApp, settings, otherBoxes);
    other.Reader().SetSink(builder);
    const auto stream = platform::StringTextStream(text);
    const auto outcome =
        cgif::importer::ImportCgif(other.Reader(), *stream, otherBoxes, [&] { other.RebuildNodeTables(); });
    EXPECT_EQ(outcome, cgif::importer::ImportOutcome::Read);

    // The same nodes, arcs and positions.
    const host::Presentation imported = otherApp.ActivePresentation();
    ASSERT_EQ(imported.Slides().Count(), 1);
    EXPECT_EQ(imported.Slides().Item(1).Name(), QStringLiteral("G1"));
    EXPECT_EQ(GraphOf(other.Reader().Tables()), drawn);
    EXPECT_THAT(otherBoxes.shown(), ::testing::SizeIs(1)); // "File read"
}

} // namespace
} // namespace zov::editor::testing
