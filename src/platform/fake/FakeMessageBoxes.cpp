#include "platform/fake/FakeMessageBoxes.h"

namespace zov::platform {

MessageAnswer FakeMessageBoxes::show(const Message& message) {
    shown_.push_back(message);
    if (watch_)
        watch_(message);
    if (script_.empty())
        return defaultAnswer(message);
    const MessageAnswer answer = script_.front();
    script_.pop_front();
    return answer;
}

} // namespace zov::platform
