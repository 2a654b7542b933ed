#include "platform/ConsoleMessageBoxes.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zov::platform {
namespace {

Message box(MessageButtons buttons, int defaultButton) {
    return Message{QStringLiteral("text"), QStringLiteral("title"), MessageIcon::None, buttons, defaultButton};
}

TEST(DefaultAnswer, IsTheAnswerOfTheDefaultButtonOrElseOfTheFirst) {
    const struct {
        MessageButtons buttons;
        int defaultButton;
        MessageAnswer expected;
    } cases[] = {
        {MessageButtons::Ok, 1, MessageAnswer::Ok},           {MessageButtons::OkCancel, 2, MessageAnswer::Cancel},
        {MessageButtons::YesNo, 1, MessageAnswer::Yes},       {MessageButtons::YesNo, 2, MessageAnswer::No},
        {MessageButtons::YesNoCancel, 3, MessageAnswer::Cancel}, {MessageButtons::RetryCancel, 1, MessageAnswer::Retry},
        // A button number the box lacks falls back to the first button.
        {MessageButtons::YesNo, 3, MessageAnswer::Yes},       {MessageButtons::OkCancel, 0, MessageAnswer::Ok},
    };
    for (const auto& c : cases)
        EXPECT_EQ(defaultAnswer(box(c.buttons, c.defaultButton)), c.expected) << c.defaultButton;
}

TEST(ConsoleMessageBoxes, PrintsTitleAndTextOnOneUtf8LineAndAnswersWithTheDefault) {
    std::ostringstream out;
    ConsoleMessageBoxes boxes(out);
    const Message question{QStringLiteral("Do you want to save\r\nyour changes?\rNow\nor later"),
                           QStringLiteral("ZOVEdit"), MessageIcon::None, MessageButtons::YesNo, 2};
    EXPECT_EQ(boxes.show(question), MessageAnswer::No);
    boxes.inform(QStringLiteral(u"Caf\u00e9 not found"), QStringLiteral("Error"), MessageIcon::Critical);
    EXPECT_EQ(out.str(), "ZOVEdit: Do you want to save your changes? Now or later\nError: Caf\xc3\xa9 not found\n");
}

// Text quoted from a file (the rest of a line after a syntax error) may hold control characters
// and run to megabytes: the line shows each control character as two visible ones and stops
// after ConsoleTextLimit characters, saying how many it left out.
TEST(ConsoleMessageBoxes, ShowsControlCharactersVisiblyAndCutsAVeryLongText) {
    std::ostringstream out;
    ConsoleMessageBoxes boxes(out);
    boxes.inform(QStringLiteral("a\tb") + QChar(u'\0') + QStringLiteral("c\x1b[2Jd\x7f"), QStringLiteral("Error"),
                 MessageIcon::Critical);
    EXPECT_EQ(out.str(), "Error: a b^@c^[[2Jd^?\n");
    EXPECT_TRUE(boxes.errorShown());

    std::ostringstream longOut;
    ConsoleMessageBoxes longBoxes(longOut);
    longBoxes.inform(QString(ConsoleTextLimit + 5, u'x'), QStringLiteral("Note"), MessageIcon::Information);
    EXPECT_EQ(longOut.str(), "Note: " + std::string(ConsoleTextLimit, 'x') + "... (5 more characters)\n");
    EXPECT_FALSE(longBoxes.errorShown()); // only a critical box is an error
    longBoxes.inform(QString(ConsoleTextLimit, u'y'), QStringLiteral("Note"), MessageIcon::Exclamation);
    EXPECT_EQ(longOut.str().substr(longOut.str().rfind("Note")), "Note: " + std::string(ConsoleTextLimit, 'y') + "\n");
}

} // namespace
} // namespace zov::platform
