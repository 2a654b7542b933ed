// The start of the editor: its ten steps as the session runs them, and the session's file
// commands (the settings offer on closing is in tests/cases/ui/configure.script).
#include "AddinFixture.h"
#include "addin/ImportProgress.h"
#include "cgif/import/GraphBuilder.h"

#include "drawing/NodeId.h"
#include "support/CaseFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include "host/pptx/PptxFile.h"
#include <algorithm>
#include <stdexcept>

namespace zov::addin::testing {
namespace {

using StartEditorTest = AddinTest;

TEST_F(StartEditorTest, ResetsTheEditorLoadsSettingsAndShowsThePaletteInOrder) {
    store.setValue(QStringLiteral("ZOVEdit"), QStringLiteral("Startup"), QStringLiteral("CommentFontSize"), QStringLiteral("14"));
    store.setValue(QStringLiteral("ZOVEdit"), QStringLiteral("Startup"), QStringLiteral("ConceptColor"), QStringLiteral("255"));
    store.clearWrites();
    Session session(app, services(), windowsFactory());
    session.Editor().SetCommandMode(4);
    session.Editor().Reader().SetGraphCounter(7);
    ASSERT_EQ(app.Presentations().Count(), 0);

    session.StartEditor();

    EXPECT_EQ(session.Editor().CommandMode(), 1);
    EXPECT_EQ(session.Editor().Reader().GraphCounter(), 1);
    EXPECT_EQ(session.DrawingSettings().commentFontSize, 14);
    EXPECT_EQ(session.DrawingSettings().conceptColor, 255);
    EXPECT_EQ(session.DrawingSettings().nodeFontSize, 18) << "absent keys take their defaults";
    EXPECT_EQ(app.Presentations().Count(), 1) << "a presentation is made when none is open";
    EXPECT_FALSE(app.ActiveWindow().IsNothing());
    EXPECT_EQ(session.HelpFile(), QStringLiteral("/opt/zovedit/ZOVEditHelp/ZOVEditHelp.xml"));
    const std::vector<QString> expected{QStringLiteral("LoadPalette"), QStringLiteral("LoadConfiguration"),
                                        QStringLiteral("ShowPalette"), QStringLiteral("SelectConceptOption")};
    EXPECT_EQ(windowLog.calls, expected);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(store.writes().empty()) << "starting writes nothing to the store";
}

TEST_F(StartEditorTest, SeedsTheNodeIdSequenceAtEveryStart) {
    Session session(app, services(), windowsFactory());
    session.StartEditor();
    const QString first = session.Editor().Ids().NewNodeId();
    drawing::NodeIdGenerator same(4711);
    EXPECT_EQ(first, same.NewNodeId());
    session.StartEditor();
    EXPECT_EQ(session.Editor().Ids().NewNodeId(), first) << "the same seed gives the same sequence again";
    EXPECT_EQ(first.size(), 8);
}

TEST_F(StartEditorTest, ASessionNeedsItsPlatformServices) {
    AddinServices missing = services();
    missing.cursor = nullptr;
    EXPECT_THROW(Session(app, missing, windowsFactory()), std::invalid_argument);
}

TEST_F(StartEditorTest, AFailedStartIsToldAndTheHostGoesOn) {
    Connect addin(services(), [](Session&) -> std::unique_ptr<EditorWindows> {
        throw std::runtime_error("no display");
    });
    QVariantList custom;
    addin.OnConnection(app, ConnectStartup, AddInInstance{QStringLiteral("ZOVEdit.Connect"), QString()}, custom);
    ASSERT_EQ(zovButtons(app).size(), 1u);
    zovButtons(app).front().Execute();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown().front().text, QStringLiteral("The editor could not be started: no display"));
    EXPECT_EQ(messages.shown().front().icon, platform::MessageIcon::Critical);
}

TEST_F(StartEditorTest, FileCommandsWithoutAPresentationSayWhy) {
    Session session(app, services(), windowsFactory());
    session.ImportFile(QStringLiteral("/nonexistent.cgf"));
    session.ExportFile(QStringLiteral("/tmp/never-written.cgf"));
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("There is no presentation window to import into."));
    EXPECT_EQ(messages.shown()[1].text, QStringLiteral("There is no open presentation to export."));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/never-written.cgf")));
}

// CGIF is never written over the open presentation's own file, by whatever name it is chosen
// (a link to it included): the slides would be lost, and the editor would not know.
TEST_F(StartEditorTest, ExportRefusesThePresentationsOwnFile) {
    QTemporaryDir folder;
    const QString deck = QDir(folder.path()).filePath(QStringLiteral("talk.pptx"));
    const QString link = QDir(folder.path()).filePath(QStringLiteral("link.pptx"));
    host::Presentation p = app.Presentations().Add();
    p.Slides().Add(1, host::LayoutBlank).SetName(QStringLiteral("G1"));
    host::savePresentation(p, deck);
    ASSERT_TRUE(QFile::link(deck, link));
    const QByteArray before = [&] {
        QFile file(deck);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    Session session(app, services(), windowsFactory());
    for (const QString& target : {deck, link}) {
        messages.clear();
        session.ExportFile(target);
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown().front().text,
                  QStringLiteral("Cannot export to \"%1\": it is the file of the open presentation. Choose another name, "
                                 "such as \"talk.cgf\".")
                      .arg(target));
    }
    QFile file(deck);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    // Another file is exported to as before (this slide holds no graph).
    messages.clear();
    session.ExportFile(QDir(folder.path()).filePath(QStringLiteral("talk.cgf")));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown().front().text, QStringLiteral("No graph to export"));
}

// A progress that records what it was told and asks to stop after a number of graphs.
class ScriptedProgress : public ImportProgress {
public:
    explicit ScriptedProgress(int graphsBeforeCancel) : graphsLeft_(graphsBeforeCancel) {}
    void Advance(qint64 done, qint64 total) override { reports.emplace_back(done, total); }
    void Drawing(qint64 done, qint64 total) override { drawings.emplace_back(done, total); }
    bool CancelRequested() override {
        atQuestions.push_back(reports.empty() ? 0 : reports.back().first);
        return --graphsLeft_ < 0;
    }
    std::vector<std::pair<qint64, qint64>> reports;
    std::vector<qint64> atQuestions; // the position last told when each question came
    std::vector<std::pair<qint64, qint64>> drawings;

private:
    int graphsLeft_;
};

TEST_F(StartEditorTest, ImportWithProgressReportsThePositionAndStopsBetweenGraphsWhenCancelled) {
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("three.cgf"));
    const QByteArray text = ";%Graph*One%;\r\n(On [Cat] [Mat])\r\n.\r\n;%Graph*Two%;\r\n[Dog]\r\n.\r\n"
                            ";%Graph*Three%;\r\n[Bird]\r\n";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    Session session(app, services(), windowsFactory());
    session.StartEditor();
    const host::Presentation p = app.ActivePresentation();
    const int before = p.Slides().Count();

    struct Case {
        int graphsBeforeCancel;
        bool finished;
        std::vector<QString> slides;
        std::vector<QString> shown;
    };
    const Case cases[] = {
        {99, true, {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")}, {QStringLiteral("File read")}},
        {1, false, {QStringLiteral("One"), QStringLiteral("Two")}, {}},
        {0, false, {QStringLiteral("One")}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.graphsBeforeCancel);
        while (p.Slides().Count() > before)
            p.Slides().Item(p.Slides().Count()).Delete();
        messages.clear();
        ScriptedProgress progress(c.graphsBeforeCancel);
        EXPECT_EQ(session.ImportFile(path, &progress), c.finished);
        std::vector<QString> slides;
        for (int i = before + 1; i <= p.Slides().Count(); ++i)
            slides.push_back(p.Slides().Item(i).Name());
        EXPECT_EQ(slides, c.slides) << "the graphs drawn before the cancel stay";
        std::vector<QString> shown;
        for (const auto& m : messages.shown())
            shown.push_back(m.text);
        EXPECT_EQ(shown, c.shown);
        // The position only grows, and the last report is the whole file.
        ASSERT_FALSE(progress.reports.empty());
        for (std::size_t i = 1; i < progress.reports.size(); ++i)
            EXPECT_LE(progress.reports[i - 1].first, progress.reports[i].first);
        EXPECT_EQ(progress.reports.back(), std::make_pair(qint64(text.size()), qint64(text.size())));
        // The tables were rebuilt from the slides, and the next reading is not stopped.
        const auto& nodes = session.Editor().Reader().Tables().BoundArray;
        EXPECT_EQ(std::count_if(nodes.begin(), nodes.end(), [](const cgif::NodeRecord& n) { return n.Kind == cgif::NodeKind::Graph; }),
                  static_cast<long>(c.slides.size()));
    }
    while (p.Slides().Count() > before)
        p.Slides().Item(p.Slides().Count()).Delete();
    session.ImportFile(path);
    EXPECT_EQ(p.Slides().Count(), before + 3) << "the next reading is not stopped";
    // The tables describe the slides: three titles, four concepts, one relation; two links.
    EXPECT_EQ(session.Editor().Reader().Tables().BoundArray.size(), 8u);
    EXPECT_EQ(session.Editor().Reader().Tables().Links.size(), 2u);

    // Afterwards a typed concept with a nested graph draws no slide: the reader is back to
    // its editing sink.
    session.Editor().Reader().SetCurrentLine(QStringLiteral("[Situation: (On [Cat] [Mat])]"));
    session.Editor().Reader().SetAtEnd(false);
    EXPECT_TRUE(session.Editor().Reader().ReadConcept(false));
    EXPECT_EQ(p.Slides().Count(), before + 3);
}

// A large graph, once read, is drawn with its own progress: the import's progress is told how
// far the drawing has got, from its start to its end.
TEST_F(StartEditorTest, ImportProgressFollowsTheDrawingOfALargeGraph) {
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("large.cgf"));
    const auto arcs = static_cast<qint64>(cgif::GraphBuilder::DrawProgressFrom);
    QByteArray text;
    for (qint64 i = 0; i < arcs; ++i)
        text += "(On [Cat] [Mat]) ";
    text += "\r\n.\r\n[Dog]\r\n";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    Session session(app, services(), windowsFactory());
    session.StartEditor();
    ScriptedProgress progress(99);
    EXPECT_TRUE(session.ImportFile(path, &progress));
    const qint64 total = 2 * arcs; // each relation has an arc in and an arc out
    ASSERT_GE(progress.drawings.size(), 3u);
    EXPECT_EQ(progress.drawings.front(), std::make_pair(qint64(0), total));
    EXPECT_EQ(progress.drawings.back(), std::make_pair(total, total));
    for (std::size_t i = 1; i < progress.drawings.size(); ++i)
        EXPECT_LT(progress.drawings[i - 1].first, progress.drawings[i].first);
    EXPECT_EQ(progress.drawings.size(), static_cast<std::size_t>(total / cgif::GraphBuilder::DrawProgressStep + 1))
        << "the small graph after it tells nothing";
}

// The cases of tests/cases/addin/import-progress.case: the position follows the reading in
// either dialect, so the bar has not reached its end when the first graph is drawn.
TEST_F(StartEditorTest, ImportProgressFollowsTheReadingInEitherDialect) {
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("file.cgf"));
    Session session(app, services(), windowsFactory());
    session.StartEditor();
    const host::Presentation p = app.ActivePresentation();
    const int before = p.Slides().Count();
    auto share = [](qint64 position, qint64 total) {
        return position <= 0 ? QStringLiteral("nothing") : position < total ? QStringLiteral("part") : QStringLiteral("whole");
    };
    for (const test::Case& c : test::LoadCases(QStringLiteral("addin"), QStringLiteral("import-progress.case"))) {
        SCOPED_TRACE(c.where());
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(c.input.toUtf8());
        }
        const qint64 total = QFileInfo(path).size();
        while (p.Slides().Count() > before)
            p.Slides().Item(p.Slides().Count()).Delete();
        ScriptedProgress progress(99);
        EXPECT_TRUE(session.ImportFile(path, &progress));
        ASSERT_FALSE(progress.atQuestions.empty());
        ASSERT_FALSE(progress.reports.empty());
        for (std::size_t i = 1; i < progress.reports.size(); ++i)
            EXPECT_LE(progress.reports[i - 1].first, progress.reports[i].first);
        const QStringList seen{QString::number(p.Slides().Count() - before) + QStringLiteral(" slides"),
                               QStringLiteral("first graph drawn at ") + share(progress.atQuestions.front(), total),
                               QStringLiteral("ended at ") + share(progress.reports.back().first, total)};
        EXPECT_EQ(test::Lines(seen), test::Lines(c.expected));
    }
    while (p.Slides().Count() > before)
        p.Slides().Item(p.Slides().Count()).Delete();
}

// A graph read without any node position is arranged (on by default), also when a stand-alone
// comment of it comes at its fixed place, before "File read" is shown over it; one with
// positions keeps them; with the setting off the unplaced graph stays piled up at the corner.
TEST_F(StartEditorTest, ImportArrangesOnlyTheGraphsReadWithoutPositions) {
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("two.cgf"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(";%Graph*Placed%;\r\n[Cat ;60@200;] [Mat ;420@200;]\r\n.\r\n"
                   ";%Graph*Unplaced%;\r\n(On [Dog] [Rug]) ;a note;\r\n");
    }
    Session session(app, services(), windowsFactory());
    session.StartEditor();
    const host::Presentation p = app.ActivePresentation();
    // The node shapes of a slide (all but the title label) as "left,top".
    const auto places = [&](const QString& name) {
        std::vector<QString> result;
        const host::Shapes shapes = p.Slides().FindByName(name).Shapes();
        for (int i = 2; i <= shapes.Count(); ++i)
            if (!shapes.Item(i).Connector())
                result.push_back(QStringLiteral("%1,%2").arg(shapes.Item(i).Left()).arg(shapes.Item(i).Top()));
        return result;
    };
    for (const bool arrange : {true, false}) {
        SCOPED_TRACE(arrange);
        while (p.Slides().Count() > 0)
            p.Slides().Item(1).Delete();
        messages.clear();
        session.DrawingSettings().arrangeImported = arrange;
        std::vector<QString> behindTheBox;
        messages.onShow([&](const platform::Message&) { behindTheBox = places(QStringLiteral("Unplaced")); });
        EXPECT_TRUE(session.ImportFile(path));
        messages.onShow({});
        EXPECT_EQ(messages.shown().size(), 1u) << "only \"File read\"";
        EXPECT_EQ(behindTheBox, places(QStringLiteral("Unplaced"))) << "\"File read\" shows the slide as it stays";
        EXPECT_EQ(places(QStringLiteral("Placed")), (std::vector<QString>{QStringLiteral("60,200"), QStringLiteral("420,200")}));
        const std::vector<QString> unplaced = places(QStringLiteral("Unplaced"));
        ASSERT_EQ(unplaced.size(), 4u); // On, Dog, Rug and the comment
        const host::Shape title = p.Slides().FindByName(QStringLiteral("Unplaced")).Shapes().Item(1);
        const int atCorner = static_cast<int>(std::count(unplaced.begin(), unplaced.end(), QStringLiteral("0,0")));
        EXPECT_EQ(atCorner, arrange ? 0 : 3);
        if (arrange) {
            const host::Shapes shapes = p.Slides().FindByName(QStringLiteral("Unplaced")).Shapes();
            for (int i = 2; i <= shapes.Count(); ++i)
                EXPECT_GE(shapes.Item(i).Top(), title.Top() + title.Height()) << "below the title label";
        }
    }
}

} // namespace
} // namespace zov::addin::testing
