#pragma once
// Modal message boxes. Commands ask through this interface so that the desktop shows a dialog,
// the command line prints a line, and tests script the answers.
#include <QString>

namespace zov::platform {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

struct Message {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    int defaultButton = 1; // 1-based among the buttons
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(const Message& message) = 0;

    // The usual one-button box.
    void inform(const QString& text, const QString& title, MessageIcon icon) {
        show(Message{text, title, icon, MessageButtons::Ok, 1});
    }
};

// The answer a box gives when the user just presses Enter.
MessageAnswer defaultAnswer(const Message& message);

// The text a box on the screen shows: one that quotes the rest of a long line, or many lines,
// of a file would make a box larger than the screen, with its buttons off it. A text longer than
// BoxTextLimit characters or BoxLineLimit lines is cut there and ends "... (N more characters)".
constexpr qsizetype BoxTextLimit = 1000;
constexpr int BoxLineLimit = 20;
QString boxText(const QString& text);
// What a cut text of a box or a console line ends with: `end` moved back off the middle of a
// character (a cut between the two halves of an emoji shows half of it as "?"), and the notice
// "... (N more characters)" for the rest, N counting characters, not UTF-16 units.
QString cutNotice(QStringView text, qsizetype& end);

} // namespace zov::platform
