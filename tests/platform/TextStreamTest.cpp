#include "platform/TextFileReader.h"
#include "platform/TextStream.h"
#include "platform/fake/MemoryTextStream.h"
#include "support/CaseFiles.h"

#include <QFile>
#include <QFileInfo>
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

// The cases of tests/cases/platform/text-files.case: the bytes are written to a file, which is
// opened and read to its end; each line read is shown in brackets.
TEST_F(TextFileTest, ReadingSplitsLinesAndDecodesUtf8OrElseWindows1252) {
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("platform"), QStringLiteral("text-files.case"))) {
        const auto in = OpenTextFile(writeBytes(c.input.toLatin1()));
        QStringList lines;
        for (const QString& line : allLines(*in))
            lines << u'[' + line + u']';
        EXPECT_EQ(zov::test::Lines(lines), zov::test::Lines(c.expected)) << c.where();
        EXPECT_EQ(in->ReadLine(), QString()) << c.where(); // past the end: nothing more, no failure
        EXPECT_THROW(in->WriteLine(QStringLiteral("y")), FileError);
    }
    // A file is decoded a block at a time: a U+FEFF that starts a later block is text too.
    QByteArray twoBlocks(TextBlockBytes - 2, 'a');
    twoBlocks += "\r\n\xEF\xBB\xBF" "b";
    EXPECT_EQ(allLines(*OpenTextFile(writeBytes(twoBlocks))),
              (QStringList{QString(TextBlockBytes - 2, u'a'), QStringLiteral("\uFEFFb")}));
    // Text in memory splits the same way.
    EXPECT_EQ(allLines(*StringTextStream(QStringLiteral("one\r\ntwo\rthree\nfour"))),
              (QStringList{"one", "two", "three", "four"}));

    // A reader may write into the line it was handed last only where the text is the stream's
    // alone: a file's, not a text the caller still holds.
    const auto file = OpenTextFile(writeBytes("ab;c;\r\nnext"));
    EXPECT_EQ(file->WritableLastLine(), nullptr); // no line handed out yet
    const QStringView first = file->ReadLineView();
    ASSERT_EQ(file->WritableLastLine(), first.data());
    file->WritableLastLine()[1] = u';';
    EXPECT_EQ(first, u"a;;c;");
    EXPECT_EQ(file->ReadLine(), QStringLiteral("next"));
    const QString held = QStringLiteral("held;x;");
    const auto memory = StringTextStream(held);
    memory->ReadLineView();
    EXPECT_EQ(memory->WritableLastLine(), nullptr);
}

TEST_F(TextFileTest, FilesThatCannotBeOpenedOrCreatedAreNamedInTheError) {
    // A file larger than any reading may take is refused before it is read (a sparse file).
    const QString huge = folder.filePath(QStringLiteral("huge.cgf"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(MaxTextFileBytes + 1));
    }
    EXPECT_TRUE(fileError([&] { OpenTextFile(huge); }).contains(QStringLiteral("the file is larger than 256 MB")));
    QFile::remove(huge);
    const QString missing = folder.filePath(QStringLiteral("missing.cgf"));
    const QString message = fileError([&] { OpenTextFile(missing); });
    EXPECT_TRUE(message.contains(missing) && message.contains(QStringLiteral("No such file"))) << message.toStdString();
    EXPECT_THROW(OpenTextFile(folder.path()), FileError);
    EXPECT_THROW(OpenTextFile(QString()), FileError);

    // A loop of links names no file: refused, the links left as they are.
    const QString loop1 = folder.filePath(QStringLiteral("loop1.cgf")), loop2 = folder.filePath(QStringLiteral("loop2.cgf"));
    ASSERT_TRUE(QFile::link(loop2, loop1) && QFile::link(loop1, loop2));
    EXPECT_TRUE(fileError([&] { CreateTextFile(loop1); }).contains(QStringLiteral("Too many levels of symbolic links")));
    EXPECT_TRUE(QFileInfo(loop1).isSymLink());

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

// A file whose name is as long as the file system takes is written as any other (its temporary
// file beside it takes a shortened name).
TEST_F(TextFileTest, AFileWithTheLongestNameIsWritten) {
    const QString path = folder.filePath(QString(81, QChar(0x65E5)) + QStringLiteral(".cgf")); // 247 bytes
    for (int time = 0; time < 2; ++time) { // made, then replaced
        auto out = CreateTextFile(path);
        out->WriteLine(QStringLiteral("[Cat%1]").arg(time));
        out->Close();
    }
    EXPECT_EQ(readBytes(path), QByteArray("[Cat1]\r\n"));
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

// A file is decoded a block of whole lines at a time: wherever a block's edge falls (inside a
// CR LF, right after a lone CR, inside a line longer than a block, inside a character of
// several bytes), the lines read are those of the whole text decoded at once.
TEST_F(TextFileTest, LinesReadAcrossBlockEdgesAreThoseOfTheWholeText) {
    const QList<QByteArray> ends = {"\r\n", "\r", "\n", "\n\r", "\r\n\r\n"};
    const QList<QByteArray> fillers = {"a", "\xC3\xA9", "\xE9"}; // ASCII, UTF-8 e-acute, Windows-1252 e-acute
    int files = 0;
    for (const QByteArray& filler : fillers) {
        for (const QByteArray& end : ends) {
            for (qsizetype shift = -3; shift <= 3; ++shift) {
                QByteArray bytes = filler.repeated((TextBlockBytes + shift) / filler.size());
                bytes += end + "second" + end + filler.repeated(3 * TextBlockBytes / filler.size()) + end + "last";
                const QString path = writeBytes(bytes);
                const QStringList expected = allLines(*StringTextStream(DecodeTextBytes(bytes)));
                ASSERT_GE(expected.size(), 4);
                EXPECT_EQ(allLines(*OpenTextFile(path)), expected) << filler.toHex().constData() << " "
                                                                  << end.toHex().constData() << " " << shift;
                ++files;
            }
        }
    }
    EXPECT_EQ(files, 105);

    // The bytes are there to look over before the first line is read, without a byte order mark,
    // and a line of a later block may still be written into.
    const auto in = OpenTextFile(writeBytes("\xEF\xBB\xBF[Cat]\r\n" + QByteArray(TextBlockBytes, 'x') + "\n;a;"));
    ASSERT_TRUE(in->InputBytes().has_value());
    EXPECT_EQ(in->InputBytes()->substr(0, 7), "[Cat]\r\n");
    EXPECT_EQ(in->ReadLine(), QStringLiteral("[Cat]"));
    EXPECT_FALSE(in->InputBytes().has_value());
    EXPECT_EQ(in->ReadLineView().size(), TextBlockBytes);
    const QStringView last = in->ReadLineView();
    ASSERT_EQ(in->WritableLastLine(), last.data());
    in->WritableLastLine()[1] = u'b';
    EXPECT_EQ(last, u";b;");
    EXPECT_TRUE(in->AtEndOfStream());
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
