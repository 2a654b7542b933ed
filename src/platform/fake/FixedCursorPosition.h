#pragma once
// A mouse pointer that stays where a test puts it.
#include "platform/CursorPosition.h"

namespace zov::platform {

class FixedCursorPosition : public CursorPosition {
public:
    FixedCursorPosition() = default;
    explicit FixedCursorPosition(QPoint position) : position_(position) {}
    QPoint position() const override { return position_; }
    void setPosition(QPoint position) { position_ = position; }

private:
    QPoint position_;
};

} // namespace zov::platform
