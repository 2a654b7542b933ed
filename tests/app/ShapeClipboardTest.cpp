// The Edit menu's Cut, Copy, Paste and Duplicate: the arcs between copied nodes come along glued
// to the copies, node shapes get fresh ids, each command is one undo step, and shapes travel
// between slides through the clipboard.
#include "DesktopFixture.h"

#include "drawing/GraphEncoding.h"

#include "app/desktop/ShapeClipboard.h"
#include "app/desktop/ShapeEditCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

namespace zov::test {
namespace {

class ShapeClipboardTest : public DesktopFixture {
protected:
    void trigger(const char* name)
    {
        QAction* action = window->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
        settle();
    }
    // A graph whose nodes carry node ids: "x/ABCDEFGH" (a coreferent label) and "QWERTYUI".
    SampleGraph namedGraph()
    {
        SampleGraph g = makeGraph();
        g.cat.SetName(QStringLiteral("x/ABCDEFGH"));
        g.relation.SetName(QStringLiteral("QWERTYUI"));
        settle();
        return g;
    }
    host::Shapes shapesInView() { return application.ActiveWindow().View().Slide().Shapes(); }
};

TEST_F(ShapeClipboardTest, CopyAndPasteOnTheSameSlideMakeGluedCopiesWithFreshIdsInOneStep)
{
    const SampleGraph g = namedGraph();
    canvas().setSelection({g.cat, g.relation}); // the arc is not chosen, but both its ends are
    trigger("EditCopy");
    ASSERT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(app::ShapesMimeType));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Cat\nOn"));
    const std::size_t steps = window->history()->stepCount();
    trigger("EditPaste");

    host::Shapes shapes = shapesInView();
    ASSERT_EQ(shapes.Count(), 6);
    const host::Shape cat = shapes.Item(4), relation = shapes.Item(5), arc = shapes.Item(6);
    EXPECT_EQ(cat.TextFrame().TextRange().Text(), QStringLiteral("Cat"));
    EXPECT_FLOAT_EQ(cat.Left(), g.cat.Left() + 12) << "moved off the original";
    EXPECT_FLOAT_EQ(relation.Top(), g.relation.Top() + 12);
    EXPECT_EQ(cat.Fill().ForeColor().RGB(), static_cast<std::int32_t>(kConceptFill));
    EXPECT_TRUE(cat.Name().startsWith(QStringLiteral("x/"))) << "the coreference label stays";
    EXPECT_TRUE(app::IsNodeId(cat.Name().mid(2)));
    EXPECT_NE(cat.Name(), g.cat.Name());
    EXPECT_TRUE(app::IsNodeId(relation.Name()));
    EXPECT_NE(relation.Name(), g.relation.Name());
    ASSERT_TRUE(arc.Connector());
    EXPECT_EQ(arc.ConnectorFormat().BeginConnectedShape(), cat);
    EXPECT_EQ(arc.ConnectorFormat().EndConnectedShape(), relation);
    EXPECT_EQ(arc.ConnectorFormat().EndConnectionSite(), g.arc.ConnectorFormat().EndConnectionSite());
    EXPECT_EQ(arc.Line().EndArrowheadStyle(), host::ArrowheadTriangle);
    EXPECT_EQ(canvas().selection().size(), 3u) << "the copies are selected";
    EXPECT_EQ(window->history()->stepCount(), steps + 1);

    // The copies are shapes of their own in the saved file, the arc glued to them.
    const QString path = folder.filePath(QStringLiteral("pasted.pptx"));
    ASSERT_TRUE(window->saveTo(path));
    const host::Presentation reread = store->read(path);
    host::Shapes saved = reread.Slides().Item(1).Shapes();
    ASSERT_EQ(saved.Count(), 6);
    EXPECT_EQ(saved.Item(4).Name(), cat.Name());
    EXPECT_EQ(saved.Item(6).ConnectorFormat().BeginConnectedShape(), saved.Item(4));
    EXPECT_EQ(saved.Item(6).ConnectorFormat().EndConnectedShape(), saved.Item(5));

    // Pasting again moves further; one undo takes one paste back.
    trigger("EditPaste");
    EXPECT_EQ(shapes.Count(), 9);
    EXPECT_FLOAT_EQ(shapes.Item(7).Left(), g.cat.Left() + 24);
    window->undo();
    window->undo();
    EXPECT_EQ(shapes.Count(), 3);
    EXPECT_TRUE(g.arc.ConnectorFormat().EndConnected()) << "the originals are untouched";
}

// A graph's title pasted onto another graph's slide names that graph, in its text and name, so
// that the title shown and the graph exported agree; pasted onto its own slide it is as it was.
TEST_F(ShapeClipboardTest, ATitlePastedOntoAnotherGraphsSlideNamesThatGraph)
{
    host::Slides slides = application.ActivePresentation().Slides();
    slides.Item(1).SetName(QStringLiteral("R12"));
    host::Shape title = slides.Item(1).Shapes().AddLabel(host::TextOrientationHorizontal, 0, 0, 100, 45);
    title.SetAutoShapeType(drawing::TitleLabelShapeType);
    title.SetName(QStringLiteral("ABCDEFGH"));
    title.TextFrame().TextRange().SetText(QStringLiteral("R12 is Situation"));
    settle();
    canvas().setSelection({title});
    trigger("EditCopy");
    trigger("EditPaste");
    EXPECT_EQ(shapesInView().Item(2).TextFrame().TextRange().Text(), QStringLiteral("R12 is Situation"));

    ASSERT_TRUE(window->addSlide());
    slides.Item(2).SetName(QStringLiteral("Slide19"));
    trigger("EditPaste");
    const host::Shape pasted = shapesInView().Item(1);
    EXPECT_EQ(pasted.TextFrame().TextRange().Text(), QStringLiteral("Slide19 is Situation"));
    EXPECT_NE(pasted.Name(), title.Name()) << "a new id, as every pasted node gets";
}

TEST_F(ShapeClipboardTest, CutTakesTheArcsAlongAndPastesOntoAnotherSlideInPlace)
{
    const SampleGraph g = namedGraph();
    const QPointF catPlace(g.cat.Left(), g.cat.Top());
    canvas().setSelection({g.cat});
    trigger("EditCut");
    EXPECT_EQ(shapesInView().Count(), 1) << "the arc glued to the cut node went with it";
    EXPECT_FALSE(g.arc.IsAlive());
    ASSERT_TRUE(window->addSlide());
    trigger("EditPaste");
    host::Shapes shapes = shapesInView();
    ASSERT_EQ(shapes.Count(), 1) << "only the node was copied: an arc never travels half glued";
    EXPECT_EQ(QPointF(shapes.Item(1).Left(), shapes.Item(1).Top()), catPlace) << "a free place keeps its position";
    // Undo: the paste, the new slide, the cut.
    window->undo();
    window->undo();
    window->undo();
    EXPECT_EQ(application.ActivePresentation().Slides().Count(), 1);
    EXPECT_EQ(shapesInView().Count(), 3);
    EXPECT_EQ(g.arc.ConnectorFormat().BeginConnectedShape(), g.cat);
}

TEST_F(ShapeClipboardTest, DuplicateCopiesWithoutTheClipboardAndSelectAllTakesEveryShape)
{
    const SampleGraph g = namedGraph();
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    canvas().setFocus();
    QTest::keyClick(&canvas(), Qt::Key_A, Qt::ControlModifier);
    settle();
    EXPECT_EQ(canvas().selection().size(), 3u);
    QTest::keyClick(&canvas(), Qt::Key_D, Qt::ControlModifier);
    settle();
    EXPECT_EQ(shapesInView().Count(), 6);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
    EXPECT_TRUE(shapesInView().Item(6).ConnectorFormat().BeginConnected());
    EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("EditPaste"))->isEnabled()) << "no shapes on the clipboard";
    window->editCommands()->paste();
    EXPECT_EQ(shapesInView().Count(), 6) << "text on the clipboard pastes no shapes";
}

// Whatever the clipboard holds, a paste reads it fully or not at all.
TEST(ShapeSerialization, OnlyAWholeSetReadsBack)
{
    host::Presentation p = host::NewPresentation();
    host::Slide slide = p.Slides().Add(1, host::LayoutBlank);
    host::Shape a = slide.Shapes().AddShape(host::ShapeRectangle, 10, 10, 50, 20);
    host::Shape b = slide.Shapes().AddShape(host::ShapeOval, 100, 10, 50, 20);
    host::Shape arc = slide.Shapes().AddConnector(host::ConnectorStraight, 0, 0, 1, 1);
    arc.ConnectorFormat().BeginConnect(a, 4);
    arc.ConnectorFormat().EndConnect(b, 2);
    const QByteArray bytes = app::SerializeShapes(app::CollectShapes({a, b}));
    const auto whole = app::DeserializeShapes(bytes);
    ASSERT_TRUE(whole.has_value());
    ASSERT_EQ(whole->shapes.size(), 3u);
    EXPECT_EQ(whole->glue[2].begin, 0);
    EXPECT_EQ(whole->glue[2].endSite, 2);
    for (int length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(app::DeserializeShapes(bytes.left(length)).has_value()) << length;
    QByteArray wrongGlue = bytes;
    wrongGlue[wrongGlue.size() - 13] = 9; // the arc's begin names a record that is not there
    EXPECT_FALSE(app::DeserializeShapes(wrongGlue).has_value());
}

} // namespace
} // namespace zov::test
