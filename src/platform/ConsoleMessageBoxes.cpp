#include "platform/ConsoleMessageBoxes.h"

#include <algorithm>
#include <iostream>

namespace zov::platform {

QString consoleLine(const Message& message) {
    const QStringView text = message.text;
    qsizetype shown = std::min(text.size(), ConsoleTextLimit);
    const QString notice = shown < text.size() ? cutNotice(text, shown) : QString();
    QString line = message.title + QStringLiteral(": ");
    line.reserve(line.size() + shown + 32);
    for (qsizetype i = 0; i < shown; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            line += u' ';
            ++i;
        } else if (c == u'\r' || c == u'\n' || c == u'\t') {
            line += u' ';
        } else if (c < 0x20 || c == 0x7F) {
            line += u'^';
            line += QChar(c == 0x7F ? u'?' : static_cast<char16_t>(c + 0x40));
        } else {
            line += QChar(c);
        }
    }
    line += notice;
    return line;
}

ConsoleMessageBoxes::ConsoleMessageBoxes() : out_(&std::cerr), status_(std::cerr, StderrIsTerminal()) {}

MessageAnswer ConsoleMessageBoxes::show(const Message& message) {
    if (message.icon == MessageIcon::Critical)
        errorShown_ = true;
    status_.Clear();
    *out_ << consoleLine(message).toStdString() << '\n';
    out_->flush();
    return defaultAnswer(message);
}

} // namespace zov::platform
