#pragma once
// The desktop's help viewer: one help window, made when help is first asked for and made again
// after the user closed it. A help file that cannot be read is reported in a message box.
#include "platform/HelpViewer.h"

#include <QPointer>

namespace zov::platform {
class MessageBoxes;
}

namespace zov::ui {

class HelpWindow;

class QtHelpViewer : public platform::HelpViewer {
public:
    explicit QtHelpViewer(platform::MessageBoxes& messages);
    ~QtHelpViewer() override;
    QtHelpViewer(const QtHelpViewer&) = delete;
    QtHelpViewer& operator=(const QtHelpViewer&) = delete;

    bool ShowHelp(const QString& location, platform::HelpCommand command) override;
    HelpWindow* Window() const; // null until help was shown, and after the user closed it

private:
    platform::MessageBoxes& messages_;
    QPointer<HelpWindow> window_;
    QString loadedFile_;
};

} // namespace zov::ui
