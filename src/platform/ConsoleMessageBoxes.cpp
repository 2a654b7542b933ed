#include "platform/ConsoleMessageBoxes.h"

#include <iostream>

namespace zov::platform {

QString consoleLine(const Message& message) {
    QString text = message.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return message.title + QStringLiteral(": ") + text;
}

ConsoleMessageBoxes::ConsoleMessageBoxes() : out_(&std::cerr), status_(std::cerr, StderrIsTerminal()) {}

MessageAnswer ConsoleMessageBoxes::show(const Message& message) {
    status_.Clear();
    *out_ << consoleLine(message).toStdString() << '\n';
    out_->flush();
    return defaultAnswer(message);
}

} // namespace zov::platform
