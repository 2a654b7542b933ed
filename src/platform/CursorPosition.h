#pragma once
// Where the mouse pointer is, in screen pixels.
#include <QPoint>

namespace zov::platform {

class CursorPosition {
public:
    virtual ~CursorPosition() = default;
    virtual QPoint position() const = 0;
};

} // namespace zov::platform
