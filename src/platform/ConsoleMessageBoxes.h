#pragma once
// Message boxes for the command line: each box becomes one line "TITLE: TEXT" on an output
// stream (standard error by default) and is answered with its default button, as if the user
// had pressed Enter.
#include "platform/MessageBox.h"

#include <iosfwd>

namespace zov::platform {

// The one line a box prints, without its line end: line breaks in the text (CR LF, CR or LF)
// become single blanks.
QString consoleLine(const Message& message);

class ConsoleMessageBoxes : public MessageBoxes {
public:
    ConsoleMessageBoxes(); // writes to std::cerr
    explicit ConsoleMessageBoxes(std::ostream& out) : out_(&out) {}
    MessageAnswer show(const Message& message) override;

private:
    std::ostream* out_;
};

} // namespace zov::platform
