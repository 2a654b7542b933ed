#pragma once
// The Edit menu's shape commands: Cut, Copy, Paste and Duplicate, on the shapes selected on the
// canvas of a main window (Select All and Delete are the window's own). Each one that changes
// the slide is one undo step; while a shape's text is edited in place they act on the text.
#include "app/desktop/ShapeClipboard.h"
#include "drawing/NodeId.h"

#include <QObject>
#include <functional>

class QAction;
class QMenu;

namespace zov::platform {
class MessageBoxes;
}

namespace zov::app {

class MainWindow;

class ShapeEditCommands : public QObject {
    Q_OBJECT
public:
    // `newNodeId` gives pasted node shapes their fresh ids (the editor session's sequence when
    // there is one); empty: a sequence of these commands' own.
    ShapeEditCommands(MainWindow& window, platform::MessageBoxes& messages, std::function<QString()> newNodeId);

    void addTo(QMenu* menu); // Cut, Copy, Paste, Duplicate

    // The commands; each returns true when it did something.
    bool cut();
    bool copy();
    bool paste();
    bool duplicate();

    QAction* cutAction() const { return cut_; }
    QAction* copyAction() const { return copy_; }
    QAction* pasteAction() const { return paste_; }
    QAction* duplicateAction() const { return duplicate_; }

private:
    void updateActions();
    // Puts copies on the slide in view, selects them and records the step.
    bool pasteSet(const ShapeSet& set);
    QString nextNodeId();

    MainWindow& window_;
    platform::MessageBoxes& messages_;
    std::function<QString()> newNodeId_;
    drawing::NodeIdGenerator ownIds_;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* duplicate_ = nullptr;
};

} // namespace zov::app
