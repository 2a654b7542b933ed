// The `zovedit` launcher: a check it answers itself prints what the full program prints, and
// everything else reaches the full program unchanged, standard input included (its usage and file
// errors are cases in tests/cases/cli, run through the launcher).
#include "cli/ProgramTest.h"

namespace zov::test {
namespace {

class LauncherTest : public ProgramTest {};

TEST_F(LauncherTest, CheckAnswersLikeTheFullProgram) {
    struct Case {
        QByteArray text;
        int exitCode;
        QStringList err;
    };
    const Case cases[] = {
        {"[Cat: 'Tom' *c] (On ?c [Mat])", 0, {"ZOVEdit: File read"}},
        {"[Cat *x] (On [Cat *y] ?y)", 0, {"Error: Current coreference not found for: y", "ZOVEdit: File read"}},
        {"[Cat: 'x", 1, {"Error: Input past end of file: no closing ' found"}},
    };
    for (const Case& c : cases) {
        write("in.cgf", c.text);
        for (const QStringList& args : {QStringList{"check", "in.cgf"}, QStringList{"check", "-"}}) {
            const ProgramRun run = zovedit(args, args.last() == "-" ? c.text : QByteArray());
            EXPECT_EQ(run.exitCode, c.exitCode) << c.text.toStdString() << " " << args.last().toStdString();
            EXPECT_EQ(run.errLines(), c.err) << c.text.toStdString() << " " << args.last().toStdString();
        }
    }
}

TEST_F(LauncherTest, OtherCommandsReachTheFullProgram) {
    // A pipe named on the command line is left unread for the full program.
    const ProgramRun fromPipe = zovedit({"check", "/dev/stdin"}, "[Cat: 'x");
    EXPECT_EQ(fromPipe.exitCode, 1);
    EXPECT_EQ(fromPipe.errLines(), QStringList{"Error: Input past end of file: no closing ' found"});

    write("in.cgf", "[Cat] [Mat]");
    const ProgramRun imported = zovedit({"import", "in.cgf", "-o", "out.pptx"});
    EXPECT_EQ(imported.exitCode, 0);
    EXPECT_TRUE(files().contains(QStringLiteral("out.pptx")));
}

} // namespace
} // namespace zov::test
