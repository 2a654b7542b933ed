#pragma once
// Message boxes for the command line: each box becomes one line "TITLE: TEXT" on an output
// stream (standard error by default) and is answered with its default button, as if the user
// had pressed Enter. A long run may keep a status line on the same stream (on a terminal); each
// message wipes it first, so that the message stands on a line of its own.
#include "platform/MessageBox.h"
#include "platform/StatusLine.h"

#include <iosfwd>

namespace zov::platform {

// The one line a box prints, without its line end: line breaks in the text (CR LF, CR or LF)
// and tabs become single blanks, and any other control character is shown as "^" and a letter
// ("^@" for NUL, "^?" for DEL), so that text quoted from a file cannot work the terminal. A text
// longer than ConsoleTextLimit characters (a message quoting the rest of a long line) is cut
// there and ends "... (N more characters)".
constexpr qsizetype ConsoleTextLimit = 2000;
QString consoleLine(const Message& message);

class ConsoleMessageBoxes : public MessageBoxes {
public:
    ConsoleMessageBoxes(); // writes to std::cerr, with a status line when it is a terminal
    explicit ConsoleMessageBoxes(std::ostream& out, bool terminal = false, StatusLine::Clock clock = {})
        : out_(&out), status_(out, terminal, std::move(clock)) {}
    MessageAnswer show(const Message& message) override;
    StatusLine& status() { return status_; }
    // Whether a box with the critical icon (an error) has been shown: a command that showed one
    // has not done all it was asked, whatever else it did.
    bool errorShown() const { return errorShown_; }

private:
    std::ostream* out_;
    StatusLine status_;
    bool errorShown_ = false;
};

} // namespace zov::platform
