// `zovedit export` run as a program: files, standard input and output, messages on standard
// error and exit codes.
#include "ProgramTest.h"
#include "cgif_export/GraphSlides.h"

namespace zov::test {
namespace {

const QByteArray WorkedExample = ";%Graph*G1%;\r\n"
                                 "[Cat*x1;100@50;\r\n"
                                 "][Mat*x2;300@50;\r\n"
                                 "](On?x1?x2;200@150;\r\n"
                                 ")\r\n";

class ExportCliTest : public ProgramTest {
protected:
    ProgramRun exportRun(const QStringList& args, const QByteArray& input = {}) const {
        return zovedit(QStringList{"export"} + args, input);
    }
    // The worked example graph, and optionally a second slide whose relation has no out-arc.
    void saveWorkedExample(const QString& name, bool withBrokenSlide = false) {
        GraphSlides g;
        g.addSlide("G1");
        g.draw({"c|x1/QKXBAMEW|Cat|100|50", "c|x2/PLMOKNIJ|Mat|300|50", "r|RONRONRO|On|200|150", "Cat>On", "On>Mat"});
        if (withBrokenSlide) {
            g.addSlide("G2");
            g.draw({"r|RRRRRRRR|Owns|10|10", "c|/AAAAAAAA|A", "A>Owns"});
        }
        host::savePresentation(g.presentation(), path(name));
    }
};

TEST_F(ExportCliTest, WritesBesideTheInputWhereToldOrToStandardOutput) {
    saveWorkedExample("graphs.pptx");
    const ProgramRun beside = exportRun({"graphs.pptx"});
    EXPECT_EQ(beside.exitCode, 0) << beside.err.toStdString();
    EXPECT_EQ(readFile("graphs.cgf"), WorkedExample);
    EXPECT_EQ(beside.err, QByteArray("ZOVEdit: File written\n"));
    EXPECT_TRUE(beside.out.isEmpty());
    EXPECT_EQ(exportRun({"graphs.pptx", "-o", "other.txt"}).exitCode, 0);
    EXPECT_EQ(readFile("other.txt"), WorkedExample);

    QFile::remove(path("graphs.cgf"));
    const ProgramRun toStdout = exportRun({"graphs.pptx", "-o", "-"});
    EXPECT_EQ(toStdout.exitCode, 0);
    EXPECT_EQ(toStdout.out, WorkedExample);
    EXPECT_EQ(toStdout.err, QByteArray("ZOVEdit: File written\n"));
    EXPECT_FALSE(QFile::exists(path("graphs.cgf")));
    // "-" as input reads the presentation from standard input.
    const ProgramRun fromStdin = exportRun({"-"}, readFile("graphs.pptx"));
    EXPECT_EQ(fromStdin.exitCode, 0) << fromStdin.err.toStdString();
    EXPECT_EQ(fromStdin.out, WorkedExample);
}

TEST_F(ExportCliTest, MissingOutArcIsReportedAndTheOtherGraphsAreStillWritten) {
    saveWorkedExample("graphs.pptx", true);
    const ProgramRun run = exportRun({"graphs.pptx", "-o", "-"});
    EXPECT_EQ(run.exitCode, 0);
    // A has no coreference label, so its second mention makes one up.
    EXPECT_EQ(run.out.toStdString(), (WorkedExample + " \r\n. \r\n;%Graph*G2%;\r\n[A*c1;0@0;\r\n](Owns?c1").toStdString());
    EXPECT_EQ(run.err, QByteArray("Error: No out arcs for Owns!\nZOVEdit: File written\n"));
}

TEST_F(ExportCliTest, NoGraphKeepsTheOlderFileSaysSoAndExitsOne) {
    GraphSlides g;
    g.addSlide("G1");
    g.draw({"r|RRRRRRRR|lonely"});
    host::savePresentation(g.presentation(), path("empty.pptx"));
    write("empty.cgf", "an older export");
    const ProgramRun run = exportRun({"empty.pptx"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(readFile("empty.cgf"), QByteArray("an older export"));
    EXPECT_EQ(run.err, QByteArray("ZOVEdit: No graph to export\n"));
}

} // namespace
} // namespace zov::test
