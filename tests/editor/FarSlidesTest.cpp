// A presentation holds up to 49,000 slides: Show graph and a coreference between two graphs
// reach slides past 32,767, where a slide's position no longer fits the 16 bits it once had
// (Show went to slide 32,767, and a link back between two such slides was refused as a link to
// a later slide).
#include "EditorFixture.h"

namespace zov::editor::testing {
namespace {

using FarSlidesTest = EditorTest;

TEST_F(FarSlidesTest, ShowAndACoreferenceReachSlidesPast32767) {
    constexpr int Blanks = 32768;
    for (int i = 1; i <= Blanks; ++i)
        presentation.Slides().Add(i, host::LayoutBlank);
    window.View().GotoSlide(Blanks);
    AddGraph(QStringLiteral("Near"));
    const host::Shape cat = Draw(CommandCode::NewConcept, QStringLiteral("Cat"), 50, 150);
    AddGraph(QStringLiteral("Far"));
    ASSERT_EQ(ShownSlideIndex(), Blanks + 2);
    const host::Shape person = Draw(CommandCode::NewConcept, QStringLiteral("Person"), 100, 100);
    ExpectNoMessage();

    // A coreference from the later slide to the earlier one: the pentagon, and back to its slide.
    session.SetCommandMode(CommandCode::Link);
    RunAgainOn(person);
    window.View().GotoSlide(Blanks + 1);
    RunAgainOn(cat);
    ExpectNoMessage();
    EXPECT_EQ(TextOf(person), QStringLiteral("Person(Cat in Near)"));
    EXPECT_EQ(ShownSlideIndex(), Blanks + 2);

    textBox.SetText(QStringLiteral("Near"));
    session.GoToGraph(textBox.Text());
    ExpectNoMessage();
    EXPECT_EQ(ShownSlideIndex(), Blanks + 1);
}

} // namespace
} // namespace zov::editor::testing
