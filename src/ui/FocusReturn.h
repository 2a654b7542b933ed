#pragma once
// The keyboard goes back to where it was when a dialog or message box closes. A window manager
// usually does this; without one (a bare X server, a kiosk session) the focus would stay with
// the screen's root window, and the palette's keys would do nothing until the user clicked.
#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace zov::ui {

class FocusReturn {
public:
    // To `window` (by default the active one), and to the control that has the focus when that
    // is in the window (else the window's own last focused control gets it back).
    explicit FocusReturn(QWidget* window = QApplication::activeWindow())
        : window_(window), widget_(QApplication::focusWidget()) {}
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;
    ~FocusReturn() { Return(); }

    // Done on destruction; callable earlier, for a window that hides rather than ends.
    void Return() {
        if (!window_ || !window_->isVisible() || QApplication::activeModalWidget() != nullptr)
            return;
        window_->activateWindow();
        if (widget_ && widget_->window() == window_)
            widget_->setFocus(Qt::OtherFocusReason);
        Asked() = window_;
    }

    // The window the keyboard was last given back to. Until the window system confirms it, which
    // takes events a command running on may not let through, Qt knows no active window; a box
    // opened meanwhile belongs to this one.
    static QWidget* LastAsked() { return Asked(); }

private:
    static QPointer<QWidget>& Asked() {
        static QPointer<QWidget> window;
        return window;
    }
    QPointer<QWidget> window_;
    QPointer<QWidget> widget_;
};

// A window of the program closed (the help, the palette) and no window has the keyboard: it goes
// to `preferred` when that is still shown, else to the main window (the first window shown
// that has a menu bar: not the help), else to any window shown. Run once the closing is over;
// without a window manager the keyboard would stay with the screen's root.
inline void KeyboardToAWindowLeft(QWidget* preferred) {
    if (QApplication::activeWindow() != nullptr || QApplication::activeModalWidget() != nullptr)
        return;
    QWidget* target = preferred != nullptr && preferred->isVisible() ? preferred : nullptr;
    QWidget* other = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (target != nullptr || !top->isVisible() || top->windowType() != Qt::Window)
            continue;
        if (top->inherits("QMainWindow"))
            target = top;
        else if (other == nullptr)
            other = top;
    }
    if (target == nullptr)
        target = other;
    if (target != nullptr)
        target->activateWindow();
}

} // namespace zov::ui
