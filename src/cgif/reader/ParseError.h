#pragma once
// The one failure the CGIF reader raises: a number and the text shown to the user. Grammar
// errors carry the unread rest of the line in their text; run-time failures of the reader
// (reading past the end of the input, a table index out of range) use the same type.
#include <QString>
#include <exception>
#include <string>

namespace zov::cgif {

class ParseError : public std::exception {
public:
    ParseError(int number, QString message)
        : number_(number), message_(std::move(message)), bytes_(message_.toStdString()) {}
    int number() const { return number_; }
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return bytes_.c_str(); }

private:
    int number_;
    QString message_;
    std::string bytes_;
};

// Numbers of the reader's run-time failures (the grammar errors use their own numbers).
namespace RuntimeFailure {
constexpr int SubscriptOutOfRange = 9;
constexpr int InputPastEnd = 62;
constexpr int NestingTooDeep = 3001;
} // namespace RuntimeFailure

} // namespace zov::cgif
