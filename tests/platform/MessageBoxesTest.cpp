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

// A box on the screen stops after BoxTextLimit characters or BoxLineLimit lines (a CR LF is one
// line break), saying how many characters it left out; a shorter text is shown whole.
TEST(BoxText, CutsAVeryLongOrVeryTallTextSayingHowMuchIsLeftOut) {
    const QString fits = QString(BoxTextLimit - 20, u'x') + QStringLiteral("\r\nend");
    EXPECT_EQ(boxText(fits), fits);
    EXPECT_EQ(boxText(QString(775'000, u'y')), QString(BoxTextLimit, u'y') + QStringLiteral("... (774000 more characters)"));

    QString tall;
    for (int line = 1; line <= 30; ++line)
        tall += QStringLiteral("~[ line %1\r\n").arg(line, 2, 10, QLatin1Char('0'));
    const qsizetype end = tall.indexOf(QStringLiteral("line 20")) + 7; // before the 20th line break
    EXPECT_EQ(boxText(tall), tall.left(end) + QStringLiteral("... (%1 more characters)").arg(tall.size() - end));
    // Lone CRs and LFs break lines too.
    EXPECT_EQ(boxText(QString(25, u'\n')), QString(BoxLineLimit - 1, u'\n') + QStringLiteral("... (6 more characters)"));
    EXPECT_EQ(boxText(QString(25, u'\r')), QString(BoxLineLimit - 1, u'\r') + QStringLiteral("... (6 more characters)"));

    // A cut never falls inside a character of two UTF-16 units, and the rest is counted in
    // characters: 999 units of "x", then emoji of two units each.
    const QString cat = QStringLiteral("\U0001F408");
    const QString emoji = QString(BoxTextLimit - 1, u'x') + cat.repeated(100);
    EXPECT_EQ(boxText(emoji), QString(BoxTextLimit - 1, u'x') + QStringLiteral("... (100 more characters)"));
    std::ostringstream out;
    ConsoleMessageBoxes console(out);
    console.inform(QString(ConsoleTextLimit - 1, u'x') + cat.repeated(3), QStringLiteral("Error"), MessageIcon::Critical);
    EXPECT_EQ(out.str(), "Error: " + std::string(ConsoleTextLimit - 1, 'x') + "... (3 more characters)\n");
}

} // namespace
} // namespace zov::platform
