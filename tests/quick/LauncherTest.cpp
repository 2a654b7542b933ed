// The `zovedit` launcher hands every command it does not answer itself to the full program
// unchanged. What it answers itself (check, from a file, standard input or a named pipe) and its
// usage and file errors are cases in tests/cases/cli.
#include "cli/ProgramTest.h"

namespace zov::test {
namespace {

class LauncherTest : public ProgramTest {};

TEST_F(LauncherTest, OtherCommandsReachTheFullProgram) {
    write("in.cgf", "[Cat] [Mat]");
    const ProgramRun imported = zovedit({"import", "in.cgf", "-o", "out.pptx"});
    EXPECT_EQ(imported.exitCode, 0);
    EXPECT_TRUE(files().contains(QStringLiteral("out.pptx")));
}

} // namespace
} // namespace zov::test
