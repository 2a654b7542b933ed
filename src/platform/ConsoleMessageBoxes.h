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
// become single blanks.
QString consoleLine(const Message& message);

class ConsoleMessageBoxes : public MessageBoxes {
public:
    ConsoleMessageBoxes(); // writes to std::cerr, with a status line when it is a terminal
    explicit ConsoleMessageBoxes(std::ostream& out, bool terminal = false, StatusLine::Clock clock = {})
        : out_(&out), status_(out, terminal, std::move(clock)) {}
    MessageAnswer show(const Message& message) override;
    StatusLine& status() { return status_; }

private:
    std::ostream* out_;
    StatusLine status_;
};

} // namespace zov::platform
