// What the commands leave in the text box and the reader when they end without drawing: a
// jump to an unknown graph and a host failure both clear the box and focus it; a node command
// reads its text whatever end-of-input state an earlier reading left behind.
#include "EditorFixture.h"
#include "editor/EditorMessages.h"

namespace zov::editor::testing {
namespace {

namespace msg = editor::messages;
using TextBoxAfterCommands = EditorTest;

TEST_F(TextBoxAfterCommands, GoToAnUnknownGraphClearsAndFocusesTheTextBox) {
    AddGraph(QStringLiteral("Dog"));
    textBox.SetText(QStringLiteral("Cow"));
    textBox.ResetFocusCount();
    session.GoToGraph(textBox.Text());
    ExpectOnly(msg::NoGraphWithThatName, msg::AppTitle);
    EXPECT_EQ(textBox.Text(), QString());
    EXPECT_EQ(textBox.FocusCount(), 1);
}

TEST_F(TextBoxAfterCommands, AHostFailureIsReportedAndTheTextBoxClearedAndFocused) {
    // No slide yet: drawing the concept fails in the host.
    textBox.ResetFocusCount();
    RunAt(CommandCode::NewConcept, QStringLiteral("Cat"), 10, 10);
    const std::vector<Message> shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.startsWith(msg::CommandFailed)) << shown[0].text.toStdString();
    EXPECT_EQ(textBox.Text(), QString());
    EXPECT_EQ(textBox.FocusCount(), 1);
}

TEST_F(TextBoxAfterCommands, TheConceptCommandReadsWhateverEndOfInputAnEarlierReadingLeft) {
    AddGraph();
    // A file reading that ran to its end leaves the flag set; the nested graph must still be read.
    session.Reader().SetAtEnd(true);
    Draw(CommandCode::NewConcept, QStringLiteral("Proposition: [Cat *x] (On ?x [Mat])"), 100, 100);
    ExpectNoMessage();
    ASSERT_EQ(presentation.Slides().Count(), 2);
    EXPECT_EQ(presentation.Slides().Item(2).Shapes().Count(), 6); // title, Cat, Mat, On, two arcs
}

} // namespace
} // namespace zov::editor::testing
