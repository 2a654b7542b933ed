// Runs tests/cases/cli/*.case: a command line (split at spaces) run in a folder holding cat.cgf
// (a one-graph CGIF file), deck.pptx (a presentation of it), noout.pptx (an actor without an out
// arc) beside noout.cgf it was imported from, broken.pptx (not an archive), catlink.cgf and
// decklink.pptx, symbolic links to cat.cgf and deck.pptx, and held.cgf beside a folder held.pptx.
// The standard input is cat.cgf, or with " <<< TEXT" at the end TEXT (also in.cgf), or with
// " < FILE" that file. Expected: "exit N", the lines of standard error ("{dir}" for the folder),
// then "stdout" and what it held, then "wrote NAME" and what the file holds for every file made
// or changed: a presentation as a line per slide "NAME=TEXT|TEXT..." ("->" for a connector),
// other files as their lines split at CR LF, each in brackets. The folder is put back after
// each case.
#include "ProgramTest.h"
#include "support/CaseFiles.h"

namespace zov::test {
namespace {

QStringList contents(const QByteArray& bytes) {
    QStringList lines;
    if (!bytes.startsWith("PK")) {
        for (const QString& line : QString::fromUtf8(bytes).split(QStringLiteral("\r\n")))
            lines << u'[' + line + u']';
        return lines;
    }
    const host::Presentation presentation = host::readPresentation(bytes, QStringLiteral("written"));
    for (int i = 1; i <= presentation.Slides().Count(); ++i) {
        const host::Slide slide = presentation.Slides().Item(i);
        QStringList texts;
        for (int j = 1; j <= slide.Shapes().Count(); ++j) {
            const host::Shape shape = slide.Shapes().Item(j);
            texts << (shape.HasTextFrame() ? shape.TextFrame().TextRange().Text() : QStringLiteral("->"));
        }
        lines << slide.Name() + u'=' + texts.join(u'|');
    }
    return lines;
}

class CommandLineCases : public ProgramTest {};

TEST_F(CommandLineCases, EachCommandLineExitsReportsAndWritesAsItsCaseSays) {
    const QByteArray cat = "[Cat: *x]\n(On ?x [Mat ;300@50;])\n";
    write("cat.cgf", cat);
    write("broken.pptx", "not a zip archive");
    ASSERT_EQ(zovedit({"import", "cat.cgf", "-o", "deck.pptx"}).exitCode, 0);
    write("noout.cgf", "<Sum [Number: 1] | >");
    ASSERT_EQ(zovedit({"import", "noout.cgf", "-o", "noout.pptx", "--no-arrange"}).exitCode, 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("cat.cgf"), path("catlink.cgf")));
    ASSERT_TRUE(QFile::link(QStringLiteral("deck.pptx"), path("decklink.pptx")));
    write("held.cgf", cat);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("held.pptx")));
    std::map<QString, QByteArray> folder;
    for (const QString& name : files())
        folder[name] = readFile(name);
    for (const Case& c : LoadCases(QStringLiteral("cli"))) {
        QString args = c.input;
        QByteArray input = cat;
        std::map<QString, QByteArray> before = folder;
        if (const qsizetype given = args.indexOf(QStringLiteral(" <<< ")); given >= 0) {
            input = before[QStringLiteral("in.cgf")] = args.mid(given + 5).toUtf8();
            write("in.cgf", input);
            args.truncate(given);
        } else if (const qsizetype from = args.indexOf(QStringLiteral(" < ")); from >= 0) {
            input = readFile(args.mid(from + 3));
            args.truncate(from);
        }
        const ProgramRun run = zovedit(args.split(u' ', Qt::SkipEmptyParts), input);
        QStringList got = QStringList{QStringLiteral("exit %1").arg(run.exitCode)} + run.errLines();
        got.replaceInStrings(dir.path(), QStringLiteral("{dir}"));
        if (!run.out.isEmpty())
            got << QStringLiteral("stdout") << contents(run.out);
        for (const QString& name : files()) {
            const QByteArray bytes = readFile(name);
            if (!before.count(name) || before.at(name) != bytes)
                got << QStringLiteral("wrote ") + name << contents(bytes);
            if (!folder.count(name))
                QFile::remove(path(name));
            else if (folder.at(name) != bytes)
                write(name, folder.at(name));
        }
        EXPECT_EQ(Lines(got), Lines(c.expected)) << c.where();
    }
}

} // namespace
} // namespace zov::test
