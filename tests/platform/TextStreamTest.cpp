#include "platform/TextStream.h"
#include "platform/fake/MemoryTextStream.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zov::platform {
namespace {

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

    static QStringList allLines(TextStream& stream) {
        QStringList lines;
        while (!stream.AtEndOfStream())
            lines.append(stream.ReadLine());
        return lines;
    }

    QTemporaryDir folder;
};

// --- reading ------------------------------------------------------------------------------

TEST_F(TextFileTest, ReadingTakesCrLfLfAndLoneCrAsLineEnds) {
    const auto in = OpenTextFile(writeBytes("[Cat]\r\n[Dog]\n(Agnt)\r[Mat]\r\n\r\nlast"));
    EXPECT_EQ(allLines(*in), (QStringList{"[Cat]", "[Dog]", "(Agnt)", "[Mat]", "", "last"}));
    EXPECT_TRUE(in->AtEndOfStream());
    EXPECT_EQ(in->ReadLine(), QString()); // past the end: nothing more, no failure
}

TEST_F(TextFileTest, AFinalLineEndMakesNoExtraEmptyLine) {
    EXPECT_EQ(allLines(*OpenTextFile(writeBytes("a\r\n"))), QStringList{"a"});
    EXPECT_EQ(allLines(*OpenTextFile(writeBytes("a\r"))), QStringList{"a"});
    EXPECT_EQ(allLines(*OpenTextFile(writeBytes("a\n\n"))), (QStringList{"a", ""}));
    // LF CR is two line ends, not one.
    EXPECT_EQ(allLines(*OpenTextFile(writeBytes("a\n\rb"))), (QStringList{"a", "", "b"}));
}

TEST_F(TextFileTest, AnEmptyFileIsAtItsEndAtOnce) {
    const auto in = OpenTextFile(writeBytes(QByteArray()));
    EXPECT_TRUE(in->AtEndOfStream());
}

TEST_F(TextFileTest, ValidUtf8IsReadAsUtf8AndAByteOrderMarkIsDropped) {
    const auto in = OpenTextFile(writeBytes("\xEF\xBB\xBF[Caf\xC3\xA9: \xE2\x82\xAC 5]\r\nna\xC3\xAFve"));
    EXPECT_EQ(in->ReadLine(), QString::fromUtf8("[Caf\xC3\xA9: \xE2\x82\xAC 5]"));
    EXPECT_EQ(in->ReadLine(), QString::fromUtf8("na\xC3\xAFve"));
}

TEST_F(TextFileTest, BytesThatAreNotUtf8AreReadAsWindows1252) {
    // An old 8-bit file: e-acute, the euro sign and curly quotes of code page 1252.
    const auto in = OpenTextFile(writeBytes("[Caf\xE9: \x80 5]\r\n\x93quoted\x94 \x81"));
    EXPECT_EQ(in->ReadLine(), QString::fromUtf8("[Caf\xC3\xA9: \xE2\x82\xAC 5]"));
    EXPECT_EQ(in->ReadLine(), QString::fromUtf8("\xE2\x80\x9Cquoted\xE2\x80\x9D \xC2\x81"));
    // One bad byte anywhere decides for the whole file.
    EXPECT_EQ(DecodeTextBytes("\xC3\xA9 and \xE9"), QString::fromUtf8("\xC3\x83\xC2\xA9 and \xC3\xA9"));
}

TEST_F(TextFileTest, OpeningAMissingFileOrAFolderNamesTheFileAndTheReason) {
    const QString missing = folder.filePath(QStringLiteral("missing.cgf"));
    try {
        OpenTextFile(missing);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_TRUE(error.message().contains(missing)) << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(QStringLiteral("No such file"))) << error.message().toStdString();
    }
    EXPECT_THROW(OpenTextFile(folder.path()), FileError);
    EXPECT_THROW(OpenTextFile(QString()), FileError);
}

TEST_F(TextFileTest, AReadStreamRefusesWriting) {
    const auto in = OpenTextFile(writeBytes("x"));
    EXPECT_THROW(in->WriteLine(QStringLiteral("y")), FileError);
}

// --- writing ------------------------------------------------------------------------------

TEST_F(TextFileTest, WritingEncodesUtf8AndEndsLinesWithCrLf) {
    const QString path = folder.filePath(QStringLiteral("out.cgf"));
    auto out = CreateTextFile(path);
    out->Write(QStringLiteral("[Cat: "));
    out->WriteLine(QString::fromUtf8("Caf\xC3\xA9]"));
    out->WriteLine(QString());
    out->Write(QStringLiteral("end"));
    out->Close();
    EXPECT_EQ(readBytes(path), QByteArray("[Cat: Caf\xC3\xA9]\r\n\r\nend"));
    EXPECT_THROW(out->Write(QStringLiteral("more")), FileError);
}

TEST_F(TextFileTest, CreatingReplacesAnExistingFile) {
    const QString path = writeBytes("an older and much longer content\r\n", QStringLiteral("out.cgf"));
    auto out = CreateTextFile(path);
    out->WriteLine(QStringLiteral("new"));
    out->Close();
    EXPECT_EQ(readBytes(path), QByteArray("new\r\n"));
}

TEST_F(TextFileTest, WhatWasWrittenReachesTheFileEvenWithoutClose) {
    const QString path = folder.filePath(QStringLiteral("out.cgf"));
    {
        auto out = CreateTextFile(path);
        out->WriteLine(QStringLiteral("kept"));
    }
    EXPECT_EQ(readBytes(path), QByteArray("kept\r\n"));
}

TEST_F(TextFileTest, LargeOutputArrivesWhole) {
    const QString path = folder.filePath(QStringLiteral("big.cgf"));
    auto out = CreateTextFile(path);
    for (int i = 0; i < 20000; ++i)
        out->WriteLine(QStringLiteral("[Concept%1]").arg(i));
    out->Close();
    const auto in = OpenTextFile(path);
    const QStringList lines = allLines(*in);
    ASSERT_EQ(lines.size(), 20000);
    EXPECT_EQ(lines.first(), QStringLiteral("[Concept0]"));
    EXPECT_EQ(lines.last(), QStringLiteral("[Concept19999]"));
}

TEST_F(TextFileTest, CreatingInAMissingFolderNamesTheFile) {
    const QString path = folder.filePath(QStringLiteral("no/such/folder/out.cgf"));
    try {
        CreateTextFile(path);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_TRUE(error.message().contains(path)) << error.message().toStdString();
    }
    EXPECT_THROW(CreateTextFile(folder.path()), FileError);
}

// --- in memory ----------------------------------------------------------------------------

TEST(StringTextStream, SplitsLinesLikeAFile) {
    const auto in = StringTextStream(QStringLiteral("one\r\ntwo\rthree\nfour"));
    QStringList lines;
    while (!in->AtEndOfStream())
        lines.append(in->ReadLine());
    EXPECT_EQ(lines, (QStringList{"one", "two", "three", "four"}));
    EXPECT_TRUE(StringTextStream(QString())->AtEndOfStream());
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
