#include "platform/TextStream.h"
#include "platform/fake/MemoryTextStream.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QDir>
#include <gtest/gtest.h>

namespace zov::platform {
namespace {

QStringList allLines(TextStream& stream) {
    QStringList lines;
    while (!stream.AtEndOfStream())
        lines.append(stream.ReadLine());
    return lines;
}

// The message of the FileError the action raises; fails the test when it raises none.
template <typename Action>
QString fileError(Action action) {
    try {
        action();
    } catch (const FileError& error) {
        return error.message();
    }
    ADD_FAILURE() << "no error";
    return {};
}

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString writeBytes(const QByteArray& bytes, const QString& name = QStringLiteral("in.cgf")) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QByteArray readBytes(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir folder;
};

TEST_F(TextFileTest, ReadingSplitsLinesAndDecodesUtf8OrElseWindows1252) {
    const struct {
        const char* what;
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"CR LF, LF and a lone CR end lines", "[Cat]\r\n[Dog]\n(Agnt)\r[Mat]\r\n\r\nlast",
         {"[Cat]", "[Dog]", "(Agnt)", "[Mat]", "", "last"}},
        {"a final CR LF makes no extra line", "a\r\n", {"a"}},
        {"a final CR makes no extra line", "a\r", {"a"}},
        {"an empty line before the end stays", "a\n\n", {"a", ""}},
        {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
        {"an empty file", QByteArray(), {}},
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBF[Caf\xC3\xA9: \xE2\x82\xAC 5]\r\nna\xC3\xAFve",
         {QString::fromUtf8("[Caf\xC3\xA9: \xE2\x82\xAC 5]"), QString::fromUtf8("na\xC3\xAFve")}},
        {"code page 1252: e-acute, euro, curly quotes", "[Caf\xE9: \x80 5]\r\n\x93quoted\x94 \x81",
         {QString::fromUtf8("[Caf\xC3\xA9: \xE2\x82\xAC 5]"), QString::fromUtf8("\xE2\x80\x9Cquoted\xE2\x80\x9D \xC2\x81")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto in = OpenTextFile(writeBytes(c.bytes));
        EXPECT_EQ(allLines(*in), c.lines);
        EXPECT_EQ(in->ReadLine(), QString()); // past the end: nothing more, no failure
        EXPECT_THROW(in->WriteLine(QStringLiteral("y")), FileError);
    }
    // One bad byte anywhere decides for the whole file.
    EXPECT_EQ(DecodeTextBytes("\xC3\xA9 and \xE9"), QString::fromUtf8("\xC3\x83\xC2\xA9 and \xC3\xA9"));
    // Text in memory splits the same way.
    EXPECT_EQ(allLines(*StringTextStream(QStringLiteral("one\r\ntwo\rthree\nfour"))),
              (QStringList{"one", "two", "three", "four"}));
}

TEST_F(TextFileTest, FilesThatCannotBeOpenedOrCreatedAreNamedInTheError) {
    const QString missing = folder.filePath(QStringLiteral("missing.cgf"));
    const QString message = fileError([&] { OpenTextFile(missing); });
    EXPECT_TRUE(message.contains(missing) && message.contains(QStringLiteral("No such file"))) << message.toStdString();
    EXPECT_THROW(OpenTextFile(folder.path()), FileError);
    EXPECT_THROW(OpenTextFile(QString()), FileError);

    const QString inMissingFolder = folder.filePath(QStringLiteral("no/such/folder/out.cgf"));
    EXPECT_TRUE(fileError([&] { CreateTextFile(inMissingFolder); }).contains(inMissingFolder));
    EXPECT_THROW(CreateTextFile(folder.path()), FileError);
}

TEST_F(TextFileTest, WritingReplacesTheFileWithUtf8AndCrLfLineEnds) {
    const QString path = writeBytes("an older and much longer content\r\n", QStringLiteral("out.cgf"));
    auto out = CreateTextFile(path);
    out->Write(QStringLiteral("[Cat: "));
    out->WriteLine(QString::fromUtf8("Caf\xC3\xA9]"));
    out->WriteLine(QString());
    out->Write(QStringLiteral("end"));
    out->Close();
    EXPECT_EQ(readBytes(path), QByteArray("[Cat: Caf\xC3\xA9]\r\n\r\nend"));
    EXPECT_THROW(out->Write(QStringLiteral("more")), FileError);

    // Output never closed (or discarded) replaces nothing: the file stays as it was.
    {
        auto unclosed = CreateTextFile(path);
        unclosed->WriteLine(QStringLiteral("lost"));
    }
    auto discarded = CreateTextFile(path);
    discarded->WriteLine(QStringLiteral("lost"));
    discarded->Discard();
    EXPECT_EQ(readBytes(path), QByteArray("[Cat: Caf\xC3\xA9]\r\n\r\nend"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file is left";
}

TEST_F(TextFileTest, LargeOutputArrivesWholeAndReadsBack) {
    const QString path = folder.filePath(QStringLiteral("big.cgf"));
    auto out = CreateTextFile(path);
    for (int i = 0; i < 20000; ++i)
        out->WriteLine(QStringLiteral("[Concept%1]").arg(i));
    out->Close();
    const QStringList lines = allLines(*OpenTextFile(path));
    ASSERT_EQ(lines.size(), 20000);
    EXPECT_EQ(lines.first(), QStringLiteral("[Concept0]"));
    EXPECT_EQ(lines.last(), QStringLiteral("[Concept19999]"));
}

TEST(MemoryTextStream, KeepsWhatWasWrittenAndRefusesWritingAfterClose) {
    MemoryTextStream out;
    out.Write(QStringLiteral("a"));
    out.WriteLine(QStringLiteral("b"));
    out.Close();
    EXPECT_EQ(out.written(), QStringLiteral("ab\r\n"));
    EXPECT_TRUE(out.closed());
    EXPECT_THROW(out.Write(QStringLiteral("c")), FileError);
}

} // namespace
} // namespace zov::platform
