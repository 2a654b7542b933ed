#pragma once
// The desktop's implementations of the platform services: Qt message boxes, file, colour and
// font dialogs, and the mouse pointer. Dialogs are modal to the window that is active when they
// open, so they come up over the palette or the main window the user is working in.
#include "platform/CommonDialog.h"
#include "platform/CursorPosition.h"
#include <optional>
#include <functional>
#include "platform/MessageBox.h"

#include <QStringList>

class QWidget;

namespace zov::ui {

class QtMessageBoxes : public platform::MessageBoxes {
public:
    platform::MessageAnswer show(const platform::Message& message) override;
};

class QtCommonDialog : public platform::CommonDialog {
public:
    std::optional<QString> ShowOpen(const platform::FileDialogRequest& request) override;
    std::optional<QString> ShowSave(const platform::FileDialogRequest& request) override;
    std::optional<std::int32_t> ShowColor(std::int32_t initial) override;
    std::optional<platform::FontChoice> ShowFont(const platform::FontChoice& initial, int flags) override;
};

// The pointer, for the palette's commands, which act where it points on the slide. When it is
// over another window (the palette itself, the slide list), the place it last had over the
// slide stands for it, and before it was ever there the middle of the slide's view: a node is
// then drawn where it can be seen, not under the palette or off the slide, also for someone who
// works from the keyboard. Without a slide view it is the pointer as it is.
class QtCursorPosition : public platform::CursorPosition {
public:
    // `slideToScreen` maps a slide point to the screen pixel it is shown at now, or nothing
    // when no slide is shown.
    explicit QtCursorPosition(std::function<std::optional<QPoint>(QPointF)> slideToScreen = {})
        : slideToScreen_(std::move(slideToScreen)) {}
    QPoint position() const override;

private:
    std::function<std::optional<QPoint>(QPointF)> slideToScreen_;
};

// A filter text "description|pattern|…|" in the form QFileDialog takes: "description (pattern)"
// entries joined by ";;". On this platform "*.*" would hide files without a dot, so it matches
// every file.
QStringList QtNameFilters(const QString& filter);

// The window dialogs are modal to: the active window, or none.
QWidget* DialogOwner();

} // namespace zov::ui
