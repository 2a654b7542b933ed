#pragma once
// Message boxes for tests: every box shown is recorded, and the answers come from a script;
// when the script runs out a box answers with its default button.
#include "platform/MessageBox.h"

#include <deque>
#include <vector>

namespace zov::platform {

class FakeMessageBoxes : public MessageBoxes {
public:
    MessageAnswer show(const Message& message) override;

    // Queues the answer for the next box that is shown.
    void script(MessageAnswer answer) { script_.push_back(answer); }
    const std::vector<Message>& shown() const { return shown_; }
    void clear() { shown_.clear(); script_.clear(); }

private:
    std::deque<MessageAnswer> script_;
    std::vector<Message> shown_;
};

} // namespace zov::platform
