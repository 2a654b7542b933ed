#pragma once
// Node positions written in comment titles: "%x@y%". The exporter's bare "x@y" is read by the
// grammar's WriterPosition.
#include <QString>
#include <optional>

namespace zov::cgif {

struct PositionValue {
    float X = 0;
    float Y = 0;
};

// A number as a title's position holds it: blanks around it allowed, decimal point and exponent
// allowed, nothing else. Empty, infinite or malformed text gives no value.
std::optional<float> ToSingle(QStringView text);

// The position taken from a comment title: both 0 unless the title holds "@"; an x that does
// not convert gives x = 0 (y still taken); a y that does not convert gives both 0.
PositionValue PositionFromTitle(QStringView title);

} // namespace zov::cgif
