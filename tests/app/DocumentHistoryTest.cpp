// Undo history by snapshots, without any window.
#include "app/document/DocumentHistory.h"
#include "host/Application.h"
#include "host/AutoShapeType.h"
#include "host/pptx/PptxFile.h"

#include <QTemporaryDir>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

namespace zov::test {

namespace {

struct Doc {
    host::Application app;
    host::Presentation p;
    host::Slide slide;
    Doc()
    {
        p = app.Presentations().Add();
        slide = p.Slides().Add(1, host::LayoutBlank);
        p.SetSaved(true);
    }
};

// Everything a user could see of a slide's shapes, in order.
QStringList describe(const host::Slide& slide)
{
    QStringList out;
    host::Shapes shapes = slide.Shapes();
    for (int i = 1; i <= shapes.Count(); ++i) {
        const host::ShapeData& s = shapes.Item(i).data();
        out << QStringLiteral("%1 %2 %3,%4 %5x%6 %7 %8 %9")
                   .arg(s.name)
                   .arg(s.autoShapeType)
                   .arg(s.left)
                   .arg(s.top)
                   .arg(s.width)
                   .arg(s.height)
                   .arg(s.fillRgb)
                   .arg(s.text())
                   .arg(s.beginGlue.site * 10 + s.endGlue.site);
    }
    return out;
}

} // namespace

TEST(DocumentHistoryTest, SavedStateFollowsUndoAndRedoUntilANewChangeMakesItUnreachable)
{
    Doc d;
    app::DocumentHistory history(d.p);
    EXPECT_TRUE(history.atSavedState());
    d.slide.Shapes().AddShape(host::ShapeDiamond, 1, 1, 30, 30);
    history.record();
    EXPECT_FALSE(d.p.Saved());
    history.markSaved();
    history.undo();
    EXPECT_FALSE(d.p.Saved());
    history.redo();
    EXPECT_TRUE(d.p.Saved());
    history.undo();
    d.slide.Shapes().AddShape(host::ShapeOval, 5, 5, 20, 20);
    history.record();
    EXPECT_FALSE(history.canRedo());
    history.undo();
    EXPECT_FALSE(d.p.Saved());
}

TEST(DocumentHistoryTest, UndoAndRedoRestoreTheModelExactly)
{
    Doc d;
    app::DocumentHistory history(d.p);
    host::Shapes shapes = d.slide.Shapes();
    host::Shape a = shapes.AddShape(host::ShapeRectangle, 10, 10, 80, 40);
    a.TextFrame().TextRange().SetText(QStringLiteral("Cat"));
    host::Shape b = shapes.AddShape(host::ShapeOval, 200, 100, 60, 60);
    host::Shape arc = shapes.AddConnector(host::ConnectorStraight, 0, 0, 1, 1);
    arc.ConnectorFormat().BeginConnect(a, 4);
    arc.ConnectorFormat().EndConnect(b, 2);
    history.record();
    const QStringList built = describe(d.slide);

    a.SetLeft(300);
    a.Fill().ForeColor().SetRGB(0x123456);
    history.record();
    const QStringList edited = describe(d.slide);
    b.Delete();
    d.slide.SetName(QStringLiteral("Cats"));
    history.record();
    const QStringList deleted = describe(d.slide);

    ASSERT_TRUE(history.undo());
    EXPECT_EQ(describe(d.slide), edited);
    EXPECT_NE(d.slide.Name(), QStringLiteral("Cats"));
    EXPECT_TRUE(d.p.Slides().FindByName(QStringLiteral("Cats")).IsNothing()); // the name is free again
    EXPECT_TRUE(d.p.Slides().FindByName(d.slide.Name()) == d.slide);
    EXPECT_EQ(b.TextFrame().TextRange().Text(), QString()); // the handle of the deleted shape works again
    EXPECT_EQ(arc.ConnectorFormat().EndConnectedShape(), b);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(describe(d.slide), built);
    // The restored glue still follows a move.
    a.SetTop(50);
    EXPECT_NEAR(arc.data().begin.y(), 50 + 20, 1e-3);
    history.revert(); // drop that unrecorded move
    EXPECT_EQ(describe(d.slide), built);

    ASSERT_TRUE(history.redo());
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(describe(d.slide), deleted);
    EXPECT_EQ(d.slide.Name(), QStringLiteral("Cats"));
    EXPECT_TRUE(d.p.Slides().FindByName(QStringLiteral("Cats")) == d.slide);
    EXPECT_THROW(b.Name(), host::HostError);
    EXPECT_FALSE(history.redo());
}


// A state shares the copies of the records that did not change since the state before; each
// state must still come back exactly, whichever records a step changed.
TEST(DocumentHistoryTest, EveryStateComesBackWhenStepsChangeDifferentRecords)
{
    Doc d;
    host::Slide second = d.p.Slides().Add(2, host::LayoutBlank);
    app::DocumentHistory history(d.p);
    host::Shape a = d.slide.Shapes().AddShape(host::ShapeRectangle, 10, 10, 80, 40);
    host::Shape b = d.slide.Shapes().AddShape(host::ShapeOval, 200, 100, 60, 60);
    host::Shape c = second.Shapes().AddShape(host::ShapeDiamond, 50, 50, 40, 40);
    host::Shape arc;
    const std::vector<std::function<void()>> steps = {
        [&] { a.SetLeft(30); },
        [&] { c.Fill().ForeColor().SetRGB(0x00FF00); },
        [&] { c.TextFrame().TextRange().SetText(QStringLiteral("Mat")); },
        [&] {
            arc = d.slide.Shapes().AddConnector(host::ConnectorStraight, 0, 0, 1, 1);
            arc.ConnectorFormat().BeginConnect(a, 4);
        },
        [&] { arc.ConnectorFormat().EndConnect(b, 2); },
        [&] { second.SetName(QStringLiteral("Second")); },
        [&] { b.SetTop(250); },
        [&] { a.Delete(); },
        [&] { second.Shapes().AddShape(host::ShapeRectangle, 5, 5, 10, 10); },
    };
    history.record();
    std::vector<QStringList> seen{describe(d.slide) + describe(second) << second.Name()};
    for (const auto& step : steps) {
        step();
        ASSERT_TRUE(history.record());
        seen.push_back(describe(d.slide) + describe(second) << second.Name());
    }
    for (std::size_t i = seen.size() - 1; i > 0; --i) {
        ASSERT_TRUE(history.undo());
        EXPECT_EQ(describe(d.slide) + describe(second) << second.Name(), seen[i - 1]) << "after undoing step " << i;
    }
    for (std::size_t i = 1; i < seen.size(); ++i) {
        ASSERT_TRUE(history.redo());
        EXPECT_EQ(describe(d.slide) + describe(second) << second.Name(), seen[i]) << "after redoing step " << i;
    }
}

// A slide added and taken away again (as a drawing that fails takes its slide away) changes
// nothing: no step is recorded, and a step that was undone can still be redone.
TEST(DocumentHistoryTest, ChangesThatCancelOutLeaveNoStep)
{
    Doc d;
    app::DocumentHistory history(d.p);
    host::Shape a = d.slide.Shapes().AddShape(host::ShapeRectangle, 10, 10, 80, 40);
    history.record();
    a.SetLeft(50);
    history.record();
    ASSERT_TRUE(history.undo());
    const std::size_t steps = history.stepCount();

    d.p.Slides().Add(2, host::LayoutBlank).Delete();
    EXPECT_FALSE(history.record());
    EXPECT_EQ(history.stepCount(), steps);
    ASSERT_TRUE(history.redo()) << "the step undone before is gone";
    EXPECT_EQ(a.Left(), 50);

    // A shape added to a slide that stays and taken away again.
    d.slide.Shapes().AddShape(host::ShapeOval, 5, 5, 20, 20).Delete();
    EXPECT_FALSE(history.record());
    EXPECT_EQ(history.stepCount(), steps);

    a.SetLeft(50); // written, though to the same value: a step, as the record's version moved
    EXPECT_TRUE(history.record());
}

// Gluing an arc's end to a shape adds the arc to that shape's own list of arcs to move with it,
// without editing the shape. The state after the gluing must keep that list, or after an undo
// to it the arc would stay behind when the shape moves.
TEST(DocumentHistoryTest, AnArcGluedInAStepFollowsItsShapeAfterAnUndoToThatStep)
{
    Doc d;
    app::DocumentHistory history(d.p);
    host::Shapes shapes = d.slide.Shapes();
    host::Shape a = shapes.AddShape(host::ShapeRectangle, 10, 10, 80, 40);
    host::Shape b = shapes.AddShape(host::ShapeOval, 200, 100, 60, 60);
    host::Shape arc = shapes.AddConnector(host::ConnectorStraight, 0, 0, 1, 1);
    arc.ConnectorFormat().BeginConnect(a, 4);
    history.record();
    arc.ConnectorFormat().EndConnect(b, 2);
    history.record();
    b.SetLeft(400);
    history.record();

    ASSERT_TRUE(history.undo());
    const QPointF end = arc.data().end;
    b.SetTop(b.Top() + 100);
    EXPECT_NEAR(arc.data().end.y(), end.y() + 100, 1e-3) << "the arc's end stayed behind its shape";
}


// A slide read from a file and left unchanged is written back from the XML it was read from.
// Undo must bring that XML back with the shapes: a change saved and then undone is not in the
// file written after the undo.
TEST(DocumentHistoryTest, AChangeSavedThenUndoneIsGoneFromTheNextSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("undo.pptx"));
    {
        host::Application app;
        host::Presentation p = app.Presentations().Add();
        p.Slides().Add(1, host::LayoutBlank).Shapes().AddShape(host::ShapeRectangle, 10, 10, 50, 40);
        host::savePresentation(p, path);
    }
    host::Application app;
    host::Presentation p = host::openPresentation(app, path);
    app::DocumentHistory history(p);
    host::Slide home = p.Slides().Item(1);
    home.Shapes().AddLabel(1, 100, 100, 80, 20).TextFrame().TextRange().SetText(QStringLiteral("Comment"));
    history.record();
    host::savePresentation(p, path);
    history.markSaved();
    history.undo();
    host::savePresentation(p, path);

    host::Application again;
    const host::Presentation reread = host::openPresentation(again, path);
    EXPECT_EQ(reread.Slides().Item(1).Shapes().Count(), 1);
}

} // namespace zov::test
