// The Import command core: messages, closing, rebuild hook and files. (Line ends are the text
// stream's: tests/cases/platform/text-files.case.)
#include "ImportFixture.h"

#include "cgif/import/ImportCommand.h"
#include "cgif/import/SlideRoom.h"
#include "support/TestPaths.h"

#include <QRectF>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace zov::cgif::test {
namespace {

using importer::ImportOutcome;

// An in-memory input that remembers whether it was closed.
class RecordingStream : public platform::TextStream {
public:
    explicit RecordingStream(const QString& text) : inner_(platform::StringTextStream(text)) {}
    QString ReadLine() override { return inner_->ReadLine(); }
    bool AtEndOfStream() const override { return inner_->AtEndOfStream(); }
    void Write(const QString& text) override { inner_->Write(text); }
    void WriteLine(const QString& text) override { inner_->WriteLine(text); }
    void Close() override {
        ++closes;
        inner_->Close();
    }
    int closes = 0;

private:
    std::unique_ptr<platform::TextStream> inner_;
};

using ImportCommandTest = ImportFixture;

// Whole read: "File read" then the rebuild. A reader error, or a failure that escapes the
// reader (an unclosed title comment), is the only box; the graphs drawn before it stay. The
// stream is closed once and the tables rebuilt in every case.
TEST_F(ImportCommandTest, OneBoxTheStreamClosedAndTheTablesRebuiltInEveryCase) {
    struct Case {
        const char* text;
        ImportOutcome outcome;
        const char* box;
        QStringList slides;
    };
    const Case cases[] = {
        {"[Cat]\n.\n(On [Cat] [Mat])", ImportOutcome::Read, "ZOVEdit: File read", {"G1", "G2"}},
        {"[Cat]\n.\n(On)\n.\n[Dog]", ImportOutcome::StoppedAtError, "Error: Relation with no concepts (at )", {"G1"}},
        {"[Cat]\n.\n;%Proposition*p1% never closed", ImportOutcome::StoppedAtError, "Error: ", {"G1"}},
    };
    for (const Case& c : cases) {
        ImportSession session;
        RecordingStream stream(QString::fromUtf8(c.text));
        int rebuilds = 0;
        EXPECT_EQ(importer::ImportCgif(session.reader, stream, session.messages, [&] { ++rebuilds; }), c.outcome);
        ASSERT_EQ(session.messageLines().size(), 1) << c.text;
        EXPECT_TRUE(session.messageLines()[0].startsWith(QString::fromUtf8(c.box))) << session.messageLines()[0].toStdString();
        EXPECT_EQ(session.messages.shown()[0].icon, c.outcome == ImportOutcome::Read ? platform::MessageIcon::Information
                                                                                   : platform::MessageIcon::Critical);
        EXPECT_EQ(session.slideNames(), c.slides) << c.text;
        EXPECT_EQ(stream.closes, 1) << c.text;
        EXPECT_EQ(rebuilds, 1) << c.text;
    }
}

// An import stops between two graphs once the presentation holds the most slides a saved
// presentation can be opened again with: the slides drawn stay, and one box says why. A nested
// graph's slide counts too; a presentation with room to spare reads the whole file.
TEST_F(ImportCommandTest, AnImportStopsWhenThePresentationIsFull) {
    const QString text = QStringLiteral("[A]\n.\n[B: (On [Cat] [Mat])]\n.\n[C]\n.\n[D]\n.\n[E]");
    struct Case {
        int room;
        QStringList slides;
        QStringList boxes;
    };
    const QString full = QStringLiteral("ZOVEdit: The presentation has %1 slides, and an import stops at %2, so that "
                                        "the presentation can still be opened again once saved: this import drew %1 of "
                                        "them, up to graph %3, and the graphs after it were not imported.");
    const Case cases[] = {
        {1, {"G1"}, {full.arg(1).arg(1).arg("G1")}},
        {2, {"G1", "G3", "G2"}, {full.arg(3).arg(2).arg("G2")}},
        {4, {"G1", "G3", "G2", "G4"}, {full.arg(4).arg(4).arg("G4")}},
        {6, {"G1", "G3", "G2", "G4", "G5", "G6"}, {"ZOVEdit: File read"}},
    };
    for (const Case& c : cases) {
        ImportSession session;
        importer::SlideRoom room(session.app.ActivePresentation(), c.room);
        session.reader.SetKeepReading([&room] { return room.Left(); });
        RecordingStream stream(text);
        const ImportOutcome outcome = importer::ImportCgif(session.reader, stream, session.messages, {});
        EXPECT_EQ(room.TellWhenFull(session.messages), c.slides.size() < 6) << c.room;
        EXPECT_EQ(outcome, c.slides.size() < 6 ? ImportOutcome::StoppedAtError : ImportOutcome::Read) << c.room;
        EXPECT_EQ(session.slideNames(), c.slides) << c.room;
        EXPECT_EQ(session.messageLines(), c.boxes) << c.room;
    }
}

// The reader asks for room only between graphs: an import into a presentation that is full
// already asks before it reads (the command line and the palette do), and the box says that
// nothing was imported.
TEST_F(ImportCommandTest, APresentationFullBeforeTheImportHasNoRoomAndSaysSo) {
    ImportSession session;
    session.app.ActivePresentation().Slides().Add(1, host::LayoutBlank);
    importer::SlideRoom room(session.app.ActivePresentation(), 1);
    EXPECT_FALSE(room.Left());
    EXPECT_TRUE(room.TellWhenFull(session.messages));
    EXPECT_EQ(session.messageLines(), QStringList{QStringLiteral("ZOVEdit: The presentation has 1 slides, and an import "
                                                                 "stops at 1, so that the presentation can still be "
                                                                 "opened again once saved: no graph was imported.")});
}

TEST_F(ImportCommandTest, FileThatCannotBeOpenedIsNamedAndNothingElseHappens) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no-such-graph.cgf"));
    int rebuilds = 0;
    EXPECT_EQ(importer::ImportCgifFile(reader, missing, messages, [&] { ++rebuilds; }), ImportOutcome::FileNotOpened);
    ASSERT_EQ(messageLines().size(), 1);
    EXPECT_TRUE(messageLines()[0].startsWith("Error: ")) << messageLines()[0].toStdString();
    EXPECT_TRUE(messageLines()[0].contains("no-such-graph.cgf"));
    EXPECT_EQ(rebuilds, 0);
    EXPECT_EQ(slides().Count(), 0);
}

TEST(ExamplesTest, EveryExampleImportsCleanlyOntoSlidesWithArcs) {
    const QDir examples(zov::test::sourceDir() + QStringLiteral("/examples"));
    const QStringList names = examples.entryList({QStringLiteral("*.cgf")}, QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 5);
    for (const QString& name : names) {
        ImportSession session;
        EXPECT_EQ(importer::ImportCgifFile(session.reader, examples.filePath(name), session.messages, {}),
                  ImportOutcome::Read)
            << name.toStdString();
        EXPECT_EQ(session.messageLines(), QStringList{QStringLiteral("ZOVEdit: File read")}) << name.toStdString();
        ASSERT_GE(session.slides().Count(), 1) << name.toStdString();
        for (int i = 1; i <= session.slides().Count(); ++i) {
            const QStringList shapes = ImportSession::describe(session.slide(i));
            EXPECT_FALSE(shapes.filter(QStringLiteral("arc ")).isEmpty()) << name.toStdString() << " slide " << i;
            EXPECT_TRUE(shapes.filter(QRegularExpression(QStringLiteral("^106 $"))).isEmpty())
                << name.toStdString() << ": no empty comments";
            // Every node, title label included, lies on the slide and clear of the others.
            const host::Slide slide = session.slide(i);
            const host::PageSetup page = session.app.ActivePresentation().PageSetup();
            const QRectF onSlide(0, 0, page.SlideWidth(), page.SlideHeight());
            std::vector<std::pair<QString, QRectF>> nodes;
            for (int j = 1; j <= slide.Shapes().Count(); ++j) {
                const host::Shape shape = slide.Shapes().Item(j);
                if (shape.Connector())
                    continue;
                const QRectF box(shape.Left(), shape.Top(), shape.Width(), shape.Height());
                const QString text = ImportSession::textOf(shape);
                EXPECT_TRUE(onSlide.contains(box)) << name.toStdString() << ": " << text.toStdString() << " off the slide";
                for (const auto& [otherText, other] : nodes)
                    EXPECT_FALSE(box.intersects(other))
                        << name.toStdString() << ": " << text.toStdString() << " over " << otherText.toStdString();
                nodes.emplace_back(text, box);
            }
        }
    }
}

} // namespace
} // namespace zov::cgif::test
