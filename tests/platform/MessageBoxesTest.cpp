#include "platform/ConsoleMessageBoxes.h"
#include "platform/fake/FakeMessageBoxes.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zov::platform {
namespace {

Message box(MessageButtons buttons, int defaultButton) {
    return Message{QStringLiteral("text"), QStringLiteral("title"), MessageIcon::None, buttons, defaultButton};
}

TEST(DefaultAnswer, IsTheAnswerOfTheDefaultButton) {
    EXPECT_EQ(defaultAnswer(box(MessageButtons::Ok, 1)), MessageAnswer::Ok);
    EXPECT_EQ(defaultAnswer(box(MessageButtons::OkCancel, 2)), MessageAnswer::Cancel);
    EXPECT_EQ(defaultAnswer(box(MessageButtons::YesNo, 1)), MessageAnswer::Yes);
    EXPECT_EQ(defaultAnswer(box(MessageButtons::YesNo, 2)), MessageAnswer::No);
    EXPECT_EQ(defaultAnswer(box(MessageButtons::YesNoCancel, 3)), MessageAnswer::Cancel);
    EXPECT_EQ(defaultAnswer(box(MessageButtons::RetryCancel, 1)), MessageAnswer::Retry);
}

TEST(DefaultAnswer, ButtonNumberTheBoxLacksFallsBackToTheFirst) {
    EXPECT_EQ(defaultAnswer(box(MessageButtons::YesNo, 3)), MessageAnswer::Yes);
    EXPECT_EQ(defaultAnswer(box(MessageButtons::OkCancel, 0)), MessageAnswer::Ok);
}

TEST(ConsoleMessageBoxes, PrintsTitleAndTextOnOneLineAndAnswersWithTheDefault) {
    std::ostringstream out;
    ConsoleMessageBoxes boxes(out);
    const Message question{QStringLiteral("Do you want to save\r\nyour changes?\rNow\nor later"),
                           QStringLiteral("ZOVEdit"), MessageIcon::None, MessageButtons::YesNo, 2};
    EXPECT_EQ(boxes.show(question), MessageAnswer::No);
    boxes.inform(QStringLiteral("File read"), QStringLiteral("ZOVEdit"), MessageIcon::Information);
    EXPECT_EQ(out.str(), "ZOVEdit: Do you want to save your changes? Now or later\nZOVEdit: File read\n");
}

TEST(ConsoleMessageBoxes, KeepsNonAsciiText) {
    std::ostringstream out;
    ConsoleMessageBoxes boxes(out);
    boxes.inform(QStringLiteral(u"Caf\u00e9 not found"), QStringLiteral("Error"), MessageIcon::Critical);
    EXPECT_EQ(out.str(), "Error: Caf\xc3\xa9 not found\n");
}

TEST(FakeMessageBoxes, AnswersFromTheScriptThenWithTheDefaultAndRecordsEveryBox) {
    FakeMessageBoxes boxes;
    boxes.script(MessageAnswer::No);
    boxes.script(MessageAnswer::Cancel);
    EXPECT_EQ(boxes.show(box(MessageButtons::YesNo, 1)), MessageAnswer::No);
    EXPECT_EQ(boxes.show(box(MessageButtons::YesNoCancel, 1)), MessageAnswer::Cancel);
    EXPECT_EQ(boxes.show(box(MessageButtons::YesNo, 2)), MessageAnswer::No);
    EXPECT_EQ(boxes.show(box(MessageButtons::YesNo, 1)), MessageAnswer::Yes);

    ASSERT_EQ(boxes.shown().size(), 4u);
    EXPECT_EQ(boxes.shown()[1].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(boxes.shown()[2].defaultButton, 2);
}

} // namespace
} // namespace zov::platform
