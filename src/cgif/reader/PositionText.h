#pragma once
// Node positions written in comments: the title form "%x@y%" and the exporter's bare "x@y".
#include <QString>
#include <optional>

namespace zov::cgif {

struct PositionValue {
    float X = 0;
    float Y = 0;
};

// A number as a title's position holds it: blanks around it allowed, decimal point and exponent
// allowed, nothing else. Empty, infinite or malformed text gives no value.
std::optional<float> ToSingle(const QString& text);

// The position taken from a comment title: both 0 unless the title holds "@"; an x that does
// not convert gives x = 0 (y still taken); a y that does not convert gives both 0.
PositionValue PositionFromTitle(const QString& title);

// The exporter's position comment: the whole text is "x@y", two numbers as the exporter prints
// them (optional "-", digits with an optional decimal point, optional exponent, no blanks). In
// an actor's comment, read up to the ">", the text also holds the exporter's closing ";" and the
// line break before the ">"; both are ignored there.
std::optional<PositionValue> WriterPosition(const QString& text, QChar terminator);

} // namespace zov::cgif
