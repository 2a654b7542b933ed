#include "app/desktop/ShapeEditCommands.h"

#include "app/desktop/MainWindow.h"
#include "app/desktop/ShapeDeletion.h"
#include "app/desktop/SlideCanvas.h"
#include "host/HostError.h"
#include "platform/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTextEdit>
#include <exception>
#include <random>

namespace zov::app {

namespace {

const QString kTitle = QStringLiteral("ZOVEdit");

} // namespace

ShapeEditCommands::ShapeEditCommands(MainWindow& window, platform::MessageBoxes& messages, std::function<QString()> newNodeId)
    : QObject(&window), window_(window), messages_(messages), newNodeId_(std::move(newNodeId)),
      ownIds_(std::random_device{}())
{
    auto make = [this](const QString& name, const QString& text, const QKeySequence& key, const QString& tip, bool (ShapeEditCommands::*slot)()) {
        auto* action = new QAction(text, &window_);
        action->setObjectName(name);
        action->setShortcut(key);
        action->setStatusTip(tip);
        connect(action, &QAction::triggered, this, [this, slot] {
            try {
                (this->*slot)();
            } catch (const std::exception& e) {
                messages_.inform(QString::fromStdString(e.what()), kTitle, platform::MessageIcon::Critical);
            }
        });
        return action;
    };
    cut_ = make(QStringLiteral("EditCut"), tr("Cu&t"), QKeySequence::Cut, tr("Move the selected shapes to the clipboard"), &ShapeEditCommands::cut);
    copy_ = make(QStringLiteral("EditCopy"), tr("&Copy"), QKeySequence::Copy, tr("Copy the selected shapes to the clipboard"), &ShapeEditCommands::copy);
    paste_ = make(QStringLiteral("EditPaste"), tr("&Paste"), QKeySequence::Paste, tr("Put the shapes on the clipboard on this slide"), &ShapeEditCommands::paste);
    duplicate_ = make(QStringLiteral("EditDuplicate"), tr("D&uplicate"), QKeySequence(Qt::CTRL | Qt::Key_D),
                      tr("Copy the selected shapes on this slide"), &ShapeEditCommands::duplicate);
    connect(window_.canvas(), &SlideCanvas::selectionChanged, this, &ShapeEditCommands::updateActions);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &ShapeEditCommands::updateActions);
    updateActions();
}

void ShapeEditCommands::addTo(QMenu* menu)
{
    menu->addAction(cut_);
    menu->addAction(copy_);
    menu->addAction(paste_);
    menu->addAction(duplicate_);
}

void ShapeEditCommands::updateActions()
{
    const bool editingText = window_.canvas()->isEditingText();
    const bool selected = !window_.canvas()->selection().empty();
    cut_->setEnabled(selected || editingText);
    copy_->setEnabled(selected || editingText);
    duplicate_->setEnabled(selected);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    paste_->setEnabled(editingText || (data && data->hasFormat(ShapesMimeType)));
}

QString ShapeEditCommands::nextNodeId()
{
    return newNodeId_ ? newNodeId_() : ownIds_.NewNodeId();
}

bool ShapeEditCommands::copy()
{
    if (QTextEdit* text = window_.canvas()->textEditor()) {
        text->copy();
        return true;
    }
    const ShapeSet set = CollectShapes(window_.canvas()->selection());
    if (set.empty())
        return false;
    QApplication::clipboard()->setMimeData(ShapesToMime(set));
    return true;
}

bool ShapeEditCommands::cut()
{
    if (QTextEdit* text = window_.canvas()->textEditor()) {
        text->cut();
        return true;
    }
    const std::vector<host::Shape> selected = window_.canvas()->selection();
    if (!copy())
        return false;
    DeleteWithGluedConnectors(selected);
    window_.canvas()->clearSelection();
    window_.syncWithDocument();
    return true;
}

bool ShapeEditCommands::paste()
{
    if (QTextEdit* text = window_.canvas()->textEditor()) {
        text->paste();
        return true;
    }
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(ShapesMimeType))
        return false;
    const std::optional<ShapeSet> set = ShapesFromMime(*data);
    if (!set) {
        messages_.inform(tr("The clipboard holds shapes this version of ZOVEdit cannot read."), kTitle,
                         platform::MessageIcon::Exclamation);
        return false;
    }
    return pasteSet(*set);
}

bool ShapeEditCommands::duplicate()
{
    if (window_.canvas()->isEditingText())
        return false;
    return pasteSet(CollectShapes(window_.canvas()->selection()));
}

bool ShapeEditCommands::pasteSet(const ShapeSet& set)
{
    const host::DocumentWindow documentWindow = window_.documentWindow();
    if (set.empty() || documentWindow.IsNothing())
        return false;
    host::Slide slide;
    try {
        slide = documentWindow.View().Slide();
    } catch (const host::HostError&) {
    }
    if (slide.IsNothing()) {
        messages_.inform(tr("There is no slide to paste onto."), kTitle, platform::MessageIcon::Exclamation);
        return false;
    }
    const std::vector<host::Shape> added = PasteShapes(set, slide, [this] { return nextNodeId(); });
    window_.syncWithDocument(); // records the paste as one step and shows it
    window_.canvas()->setSelection(added);
    return true;
}

} // namespace zov::app
