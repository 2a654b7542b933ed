#include "platform/MessageBox.h"

#include <algorithm>
#include <array>

namespace zov::platform {

namespace {

// The answers of a box's buttons, left to right; unused slots repeat the first answer.
struct ButtonRow {
    int count;
    std::array<MessageAnswer, 3> answers;
};

ButtonRow buttonRow(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return {1, {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Ok}};
    case MessageButtons::OkCancel:
        return {2, {MessageAnswer::Ok, MessageAnswer::Cancel, MessageAnswer::Ok}};
    case MessageButtons::YesNo:
        return {2, {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Yes}};
    case MessageButtons::YesNoCancel:
        return {3, {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel}};
    case MessageButtons::RetryCancel:
        return {2, {MessageAnswer::Retry, MessageAnswer::Cancel, MessageAnswer::Retry}};
    }
    return {1, {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Ok}};
}

} // namespace

MessageAnswer defaultAnswer(const Message& message) {
    const ButtonRow row = buttonRow(message.buttons);
    // A default button number the box does not have falls back to the first button.
    const int index = (message.defaultButton >= 1 && message.defaultButton <= row.count) ? message.defaultButton : 1;
    return row.answers[static_cast<std::size_t>(index - 1)];
}

QString boxText(const QString& text) {
    qsizetype end = std::min(text.size(), BoxTextLimit);
    int lines = 1;
    for (qsizetype i = 0; i < end; ++i) {
        // A break begins at a CR or at an LF that no CR comes before.
        const bool breaks = text[i] == u'\r' || (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'));
        if (!breaks)
            continue;
        if (++lines > BoxLineLimit) {
            end = i;
            break;
        }
    }
    if (end == text.size())
        return text;
    const QString notice = cutNotice(text, end);
    return text.left(end) + notice;
}

QString cutNotice(QStringView text, qsizetype& end) {
    if (end > 0 && end < text.size() && text[end - 1].isHighSurrogate() && text[end].isLowSurrogate())
        --end;
    qsizetype characters = 0;
    for (qsizetype i = end; i < text.size(); ++i)
        if (!(text[i].isLowSurrogate() && i > end && text[i - 1].isHighSurrogate()))
            ++characters;
    return QStringLiteral("... (%1 more characters)").arg(characters);
}

} // namespace zov::platform
