#pragma once
// Message boxes for tests: every box shown is recorded, and the answers come from a script;
// when the script runs out a box answers with its default button.
#include "platform/MessageBox.h"

#include <deque>
#include <functional>
#include <vector>

namespace zov::platform {

class FakeMessageBoxes : public MessageBoxes {
public:
    MessageAnswer show(const Message& message) override;

    // Queues the answer for the next box that is shown.
    void script(MessageAnswer answer) { script_.push_back(answer); }
    const std::vector<Message>& shown() const { return shown_; }
    // Called with each box as it is shown, to look at what stands behind it at that moment.
    void onShow(std::function<void(const Message&)> watch) { watch_ = std::move(watch); }
    void clear() { shown_.clear(); script_.clear(); }

private:
    std::deque<MessageAnswer> script_;
    std::vector<Message> shown_;
    std::function<void(const Message&)> watch_;
};

} // namespace zov::platform
