// The editor's scripts, tests/cases/editor/*.case: each case is a transcript of steps ("> STEP")
// run by a user at the pointer, each followed by what it changed (the step language and the
// trace are described in docs/testing.md).
#include "EditorFixture.h"

#include "drawing/GraphEncoding.h"
#include "host/HostError.h"
#include "support/CaseFiles.h"
#include "support/Transcript.h"
#include "support/SlideTrace.h"

#include <map>

namespace zov::editor::testing {
namespace {

const std::map<QString, std::int16_t> kModes = {
    {QStringLiteral("concept"), CommandCode::NewConcept}, {QStringLiteral("relation"), CommandCode::NewRelation},
    {QStringLiteral("actor"), CommandCode::NewActor},     {QStringLiteral("link"), CommandCode::Link},
    {QStringLiteral("label"), CommandCode::ChangeLabel},  {QStringLiteral("jump"), CommandCode::Jump},
    {QStringLiteral("comment"), CommandCode::Comment},    {QStringLiteral("none"), 9}};

class Script : public EditorTest {
public:
    Script() {
        settings.conceptColor = 0x00123456; // read when drawing
        settings.relationColor = 0x00010203;
        settings.actorColor = 0x00AABBCC;
    }
    void TestBody() override {}

    void Step(const QString& step, QStringList& trace) {
        const std::vector<test::SlideState> before = test::StateOf(presentation);
        const host::Slide shown = InView();
        textBox.ResetFocusCount();
        const QString verb = step.section(u' ', 0, 0);
        QString rest = step.section(u' ', 1);
        static const QRegularExpression at(QStringLiteral(" ?@(-?[0-9.]+),(-?[0-9.]+)$"));
        const QRegularExpressionMatch place = at.match(rest);
        rest.remove(at);
        if (verb == QStringLiteral("graph")) {
            AddGraph(rest);
        } else if (QStringList{"concept", "relation", "actor", "comment"}.contains(verb)) {
            place.hasMatch() ? PointAt(place.captured(1).toDouble(), place.captured(2).toDouble())
                             : PointAt(60 + 150 * (drawn_ % 4), 100 + 70 * (drawn_ / 4 % 6));
            ++drawn_;
            const int shapes = Shapes();
            Run(kModes.at(verb), rest);
            if (Shapes() > shapes && verb != QStringLiteral("comment")) { // every node in the node font
                const host::FontFormat font = LastShape().TextFrame().TextRange().Font();
                EXPECT_EQ(font.Name() + u' ' + QString::number(font.Size()), settings.nodeFontName + u' ' + QString::number(settings.nodeFontSize));
            }
        } else if (verb == QStringLiteral("link")) {
            session.SetCommandMode(CommandCode::Link);
            RunAt(Target(rest));
            RunAt(Target(rest));
        } else if (verb == QStringLiteral("label") || verb == QStringLiteral("jump")) {
            if (session.CommandMode() != kModes.at(verb))
                session.SetCommandMode(kModes.at(verb));
            const QString target = Target(rest);
            textBox.SetText(rest.mid(1)); // the text after one blank, as typed
            RunAt(target);
        } else if (verb == QStringLiteral("mode")) {
            session.SetCommandMode(kModes.at(rest));
        } else if (verb == QStringLiteral("type")) {
            textBox.SetText(rest);
        } else if (verb == QStringLiteral("run")) {
            RunAt(rest);
        } else if (verb == QStringLiteral("goto")) {
            window.View().GotoSlide(rest.toInt());
        } else if (verb == QStringLiteral("show")) {
            textBox.SetText(rest);
            session.GoToGraph(rest);
        } else if (verb == QStringLiteral("clear")) {
            session.ClearGraphSlide();
        } else if (verb == QStringLiteral("rebuild")) {
            session.RebuildNodeTables();
        } else if (verb == QStringLiteral("forget")) {
            session.Reader().ClearReaderTables();
        } else if (verb == QStringLiteral("at-end")) {
            session.Reader().SetAtEnd(true);
        } else if (verb == QStringLiteral("node")) {
            drawing::CreateNodeShape(app, settings, rest.section(u' ', 1, 1), rest.section(u' ', 0, 0).toInt(),
                                     rest.section(u' ', 2).mid(1).chopped(1), place.captured(1).toFloat(),
                                     place.captured(2).toFloat(), settings.conceptColor);
        } else if (verb == QStringLiteral("connect")) {
            host::Shape arc = window.View().Slide().Shapes().AddConnector(host::ConnectorStraight, 0, 0, 10, 10);
            if (const QString from = Target(rest); from != QStringLiteral("-"))
                arc.ConnectorFormat().BeginConnect(Find(from), 1);
            if (const QString to = Target(rest); to != QStringLiteral("-"))
                arc.ConnectorFormat().EndConnect(Find(to), 1);
        } else if (verb == QStringLiteral("blank")) {
            host::Slide slide = presentation.Slides().Add(rest.section(u' ', 0, 0).toInt(), host::LayoutBlank);
            if (!rest.section(u' ', 1).isEmpty())
                slide.SetName(rest.section(u' ', 1));
        } else if (verb == QStringLiteral("remove-slides")) {
            while (presentation.Slides().Count() > 0)
                presentation.Slides().Item(1).Delete();
        } else if (verb == QStringLiteral("name-slide")) {
            window.View().Slide().SetName(rest);
        } else if (verb == QStringLiteral("move-slide")) {
            presentation.Slides().Move(rest.section(u' ', 0, 0).toInt(), rest.section(u' ', 1).toInt());
        } else if (verb == QStringLiteral("set-text")) {
            const QString target = Target(rest);
            Find(target).TextFrame().TextRange().SetText(rest.mid(1));
        } else if (verb == QStringLiteral("delete")) {
            Find(Target(rest)).Delete();
        } else if (verb == QStringLiteral("delete-undoably")) {
            // As the window's undo history does: the deleted shape's data outlives it.
            host::Shape doomed = Find(Target(rest));
            for (const auto& shape : doomed.data().slide->shapes)
                if (shape.get() == &doomed.data())
                    keptForUndo_.push_back(shape);
            doomed.Delete();
        } else if (verb == QStringLiteral("tables") || verb == QStringLiteral("links")) {
            Tables(verb == QStringLiteral("tables"), trace);
        } else {
            ADD_FAILURE() << "unknown step: " << step.toStdString();
        }
        test::TraceChanges(before, test::StateOf(presentation), trace);
        test::TraceMessages(TakeMessages(), trace);
        if (!(InView() == shown))
            trace << QStringLiteral("view ") + QString::number(ShownSlideIndex());
        if (!textBox.Text().isEmpty() && verb != QStringLiteral("type"))
            trace << QStringLiteral("text box [") + textBox.Text() + u']';
        if (textBox.FocusCount() > 0)
            trace << QStringLiteral("focus");
        // A pending link always knows its slide; the label target lives only while its command runs.
        EXPECT_TRUE(session.LinkFrom().IsNothing() || !session.LinkFromSlide().isEmpty()) << step.toStdString();
        EXPECT_TRUE(session.LabelTarget().IsNothing()) << step.toStdString();
    }

private:
    std::vector<std::shared_ptr<host::ShapeData>> keptForUndo_;
    host::Slide InView() const {
        try {
            return window.View().Slide();
        } catch (const host::HostError&) { // no slide in view
            return {};
        }
    }
    int Shapes() const { return InView().IsNothing() ? 0 : ShapeCount(); }
    // Takes the first target off `rest`: "[TEXT]" (the shape with that text on the slide in view),
    // "title", "arc" (the middle of the newest connector), "-" or "X,Y" (a slide point).
    static QString Target(QString& rest) {
        while (rest.startsWith(u' '))
            rest.remove(0, 1);
        const qsizetype end = rest.startsWith(u'[') ? rest.indexOf(u']') + 1 : rest.indexOf(u' ');
        const QString target = end <= 0 ? rest : rest.left(end);
        rest = end <= 0 ? QString() : rest.mid(end);
        if (target.isEmpty())
            ADD_FAILURE() << "a step without its target";
        return target;
    }
    host::Shape Find(const QString& target) const {
        const host::Shapes shapes = window.View().Slide().Shapes();
        if (target == QStringLiteral("title"))
            return shapes.Item(1);
        for (int i = 1; i <= shapes.Count(); ++i)
            if (!shapes.Item(i).Connector() && u'[' + TextOf(shapes.Item(i)) + u']' == target)
                return shapes.Item(i);
        ADD_FAILURE() << "no shape " << target.toStdString();
        return {};
    }
    // Runs the command at the target; a target that is no shape is a slide point.
    void RunAt(const QString& target) {
        if (target.startsWith(u'[') || target == QStringLiteral("title")) {
            PointInto(Find(target));
        } else if (target == QStringLiteral("arc")) {
            const host::ShapeData& arc = LastShape().data();
            PointAt((arc.begin.x() + arc.end.x()) / 2, (arc.begin.y() + arc.end.y()) / 2);
        } else
            PointAt(target.section(u',', 0, 0).toDouble(), target.section(u',', 1).toDouble());
        session.RunCommandAtPointer();
    }

    // The reader's node tables: "record KIND NAME|TYPE|REFERENT ID @X,Y" (kinds as in the graph
    // description: g c r a p n; a graph's record ends in "#" and its graph number), then
    // "link [FROM] -> [TO]" (the texts of the shapes the ids name).
    void Tables(bool records, QStringList& trace) {
        const cgif::ReaderTables& tables = session.Reader().Tables();
        const auto text = [this](const QString& name) {
            for (int i = 1; i <= presentation.Slides().Count(); ++i)
                for (int j = 1; j <= presentation.Slides().Item(i).Shapes().Count(); ++j)
                    if (const host::Shape s = presentation.Slides().Item(i).Shapes().Item(j); s.Name() == name)
                        return test::Bracketed(s);
            return name;
        };
        for (const cgif::NodeRecord& n : records ? tables.BoundArray : cgif::NodeTable{})
            trace << QStringLiteral("record %1 %2|%3|%4 %5 @%6,%7")
                         .arg(QStringLiteral("gcrapn").at(n.Kind))
                         .arg(n.Name, n.Type, n.Referent, test::IdFree(n.Id.ToString()))
                         .arg(n.X)
                         .arg(n.Y) +
                         (n.Kind == cgif::NodeKind::Graph ? QStringLiteral(" #") + QString::number(n.GraphNumber) : QString());
        for (const cgif::LinkRecord& l : tables.Links)
            trace << QStringLiteral("link ") + text(l.From.ToString()) + QStringLiteral(" -> ") + text(l.To.ToString());
        EXPECT_TRUE(tables.AllBindings.empty());
        EXPECT_TRUE(tables.PendingArgs.empty());
    }

    int drawn_ = 0; // nodes drawn without a place, put in a grid
};

TEST(EditorScripts, CaseFiles) {
    for (const test::Case& c : test::LoadCases(QStringLiteral("editor")))
        EXPECT_EQ(test::Lines(test::PlayTranscript<Script>(c)), test::Lines(c.expected)) << c.where();
}

} // namespace
} // namespace zov::editor::testing
