// The Import command core (messages, closing, rebuild hook, files and line ends) and the
// checking builder, which must report exactly what the slide builder reports.
#include "ImportFixture.h"

#include "cgif/import/ImportCommand.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
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

class ImportCommandTest : public ImportFixture {
protected:
    ImportOutcome import(const QString& text) {
        RecordingStream stream(text);
        const ImportOutcome outcome = importer::ImportCgif(reader, stream, messages, [this] { ++rebuilds; });
        closes = stream.closes;
        return outcome;
    }
    int rebuilds = 0;
    int closes = 0;
};

TEST_F(ImportCommandTest, WholeFileReadIsConfirmedThenTablesRebuilt) {
    EXPECT_EQ(import(QStringLiteral("[Cat]\n.\n(On [Cat] [Mat])")), ImportOutcome::Read);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("File read"));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("ZOVEdit"));
    EXPECT_EQ(messages.shown()[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(slides().Count(), 2);
}

TEST_F(ImportCommandTest, ReaderErrorIsTheOnlyMessageAndEarlierGraphsStay) {
    EXPECT_EQ(import(QStringLiteral("[Cat]\n.\n(On)\n.\n[Dog]")), ImportOutcome::StoppedAtError);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(messages.shown()[0].icon, platform::MessageIcon::Critical);
    EXPECT_TRUE(messages.shown()[0].text.startsWith(QStringLiteral("Relation with no concepts")))
        << messages.shown()[0].text.toStdString();
    EXPECT_EQ(slideNames(), (QStringList{"G1"}));
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(rebuilds, 1);
}

TEST_F(ImportCommandTest, FailureInATitleCommentGivesOneErrorBox) {
    const QString text = QStringLiteral("[Cat]\n.\n;%Proposition*p1% never closed");
    {
        ImportSession bare; // the reader itself lets this failure through to its caller
        const auto stream = platform::StringTextStream(text);
        EXPECT_THROW(bare.reader.ReadCgifStream(*stream), ParseError);
    }
    EXPECT_EQ(import(text), ImportOutcome::StoppedAtError);
    ASSERT_EQ(messages.shown().size(), 1u) << messageLines().join('\n').toStdString();
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(messages.shown()[0].icon, platform::MessageIcon::Critical);
    EXPECT_FALSE(messages.shown()[0].text.isEmpty());
    EXPECT_EQ(slideNames(), (QStringList{"G1"}));
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(rebuilds, 1);
}

TEST_F(ImportCommandTest, FileThatCannotBeOpenedIsNamedAndNothingElseHappens) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no-such-graph.cgf"));
    EXPECT_EQ(importer::ImportCgifFile(reader, missing, messages, [this] { ++rebuilds; }),
              ImportOutcome::FileNotOpened);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("no-such-graph.cgf")));
    EXPECT_EQ(rebuilds, 0);
    EXPECT_EQ(slides().Count(), 0);
}

TEST_F(ImportCommandTest, FilesWithAnyLineEndGiveTheSameSlides) {
    const QByteArray lines[] = {";%Proposition*belief%;", "[Person: *x 'Tom']", "(Expr [Believe] ?x)",
                                "(Thme [Believe] [Proposition: (On [Cat] [Mat ;%90@120%under;])])", ".",
                                "[Dog]"};
    QTemporaryDir dir;
    QList<QStringList> drawn;
    for (const char* end : {"\n", "\r\n", "\r"}) {
        const QString path = dir.filePath(QStringLiteral("graph%1.cgf").arg(drawn.size()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (const QByteArray& line : lines)
            file.write(line + end);
        file.close();

        ImportSession session;
        ASSERT_EQ(importer::ImportCgifFile(session.reader, path, session.messages, {}), ImportOutcome::Read)
            << session.messageLines().join('\n').toStdString();
        QStringList all = session.slideNames();
        for (int i = 1; i <= session.slides().Count(); ++i)
            all << describe(session.slide(i));
        drawn << all;
    }
    EXPECT_EQ(drawn[0].mid(0, 3), (QStringList{"G3", "belief", "G4"}));
    EXPECT_EQ(drawn[1], drawn[0]);
    EXPECT_EQ(drawn[2], drawn[0]);
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
        }
    }
}

// --- the checking builder -------------------------------------------------------------------

struct CheckRun {
    bool result = false;
    QStringList messages;
    int slides = 0;
};

CheckRun checkText(const QString& text) {
    drawing::DrawingSettings settings;
    platform::FakeMessageBoxes boxes;
    drawing::NodeIdGenerator ids{7};
    CheckingBuilder checker(settings, boxes);
    CgifReader reader(ids, boxes, checker);
    reader.SetGraphNameTaken([&checker](const QString& name) { return checker.SlideNameInUse(name); });
    CheckRun run;
    try {
        const auto stream = platform::StringTextStream(text);
        run.result = reader.ReadCgifStream(*stream);
    } catch (const std::exception& failure) {
        run.messages << QStringLiteral("escaped: ") + QString::fromUtf8(failure.what());
    }
    for (const platform::Message& message : boxes.shown())
        run.messages.prepend(message.title + QStringLiteral(": ") + message.text);
    run.slides = checker.SlideCount();
    return run;
}

CheckRun importText(const QString& text) {
    ImportSession session;
    CheckRun run;
    try {
        run.result = session.read(text);
    } catch (const std::exception& failure) {
        run.messages << QStringLiteral("escaped: ") + QString::fromUtf8(failure.what());
    }
    for (const platform::Message& message : session.messages.shown())
        run.messages.prepend(message.title + QStringLiteral(": ") + message.text);
    run.slides = session.slides().Count();
    return run;
}

void expectSameReport(const QString& text, const std::string& what) {
    const CheckRun checked = checkText(text);
    const CheckRun imported = importText(text);
    EXPECT_EQ(checked.result, imported.result) << what;
    EXPECT_EQ(checked.messages, imported.messages) << what;
    EXPECT_EQ(checked.slides, imported.slides) << what;
}

TEST(CheckingBuilderTest, ReportsWhatTheSlideBuilderReports) {
    const char* const cases[] = {
        "[Cat] [Mat]",
        "[Proposition: (On [Cat] [Mat])] . ~[(On [A] [B])]",
        ";%Graph*same%; [A] . ;%Graph*same%; [B] . [C]",
        ";%Graph*Slide2%; [A] . ;%Graph*Slide2%; [B] . ;%Graph*Slide3%; [C]",
        "(Agnt [Sit] [Person: *x]) [Situation: [Cat ?x]] [Lonely]",
        "[Situation: (On [Cat: *x] [Mat])] (Near [Dog ?x] [Door])",
        "[A] . (On) . [B]",
        ";%Graph*G2%; [A] . [B] . ;%Graph*G4%; [C] . [D]",
    };
    for (const char* text : cases)
        expectSameReport(QString::fromUtf8(text), text);
}

} // namespace
} // namespace zov::cgif::test
