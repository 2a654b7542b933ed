#pragma once
// Node positions written in comments: the title form "%x@y%" and the exporter's bare "x@y".
#include <QString>
#include <optional>

namespace zov::cgif {

struct PositionValue {
    float X = 0;
    float Y = 0;
};

// A number as the position forms hold it: blanks around it allowed, decimal point and
// exponent allowed, nothing else. Empty, infinite or malformed text gives no value.
std::optional<float> ToSingle(const QString& text);

// The position taken from a comment title: both 0 unless the title holds "@"; an x that does
// not convert gives x = 0 (y still taken); a y that does not convert gives both 0.
PositionValue PositionFromTitle(const QString& title);

// The exporter's position comment: the whole text is "x@y" with two numbers. In an actor's
// comment the text runs to the ">" and also holds the exporter's closing ";" and line break.
std::optional<PositionValue> WriterPosition(QString text, QChar terminator);

} // namespace zov::cgif
