#pragma once
// The configuration dialog (caption "Configure"): the fill colours of the four kinds of node,
// the fonts of node labels and comments, and whether imported graphs without positions are
// arranged. Choices are worked on in the dialog and replace
// the session's drawing settings only when OK is pressed. Whenever the dialog is shown, or
// becomes active again after the user worked in the palette, it starts afresh from the
// settings in force (the activation snapshot).
#include "drawing/DrawingSettings.h"
#include "platform/CommonDialog.h"
#include "ui/FocusReturn.h"

#include <QDialog>
#include <QPointer>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QWindow;

namespace zov::ui {

// A font as the dialog shows it: name "(" size ")", no blank: "Arial(18)".
QString FontDisplay(const QString& name, int size);

class Configuration : public QDialog {
    Q_OBJECT
public:
    // `settings` is the session's live record; `chooser` shows the colour and font choosers.
    Configuration(drawing::DrawingSettings& settings, platform::CommonDialog& chooser, QWidget* parent = nullptr);

    // The activation snapshot: working values from the settings in force, shown in the boxes.
    void Activate();
    // Windows of the editor (the palette) after whose use an activation takes a new snapshot.
    void AddEditorWindow(QWidget* window);

    const drawing::DrawingSettings& Snapshot() const { return snapshot_; }
    const drawing::DrawingSettings& WorkingValues() const { return working_; }

    // The six "Choose" buttons, OK and Cancel.
    void ChooseColor(std::int32_t drawing::DrawingSettings::*field);
    void ChooseNodeFont();
    void ChooseCommentFont();
    void SetArrangeImported(bool on); // the check box
    void PressOk();
    void PressCancel();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct ColorRow {
        std::int32_t drawing::DrawingSettings::*field;
        QLabel* box;
    };
    void showWorkingValues();
    void chooseFont(QString drawing::DrawingSettings::*name, std::int16_t drawing::DrawingSettings::*size,
                    QLabel* display);
    void onFocusWindowChanged(QWindow* window);

    drawing::DrawingSettings& settings_;
    platform::CommonDialog& chooser_;
    drawing::DrawingSettings snapshot_;
    drawing::DrawingSettings working_;
    std::vector<ColorRow> colorRows_;
    QLabel* selectedFont_ = nullptr;
    QLabel* commentFont_ = nullptr;
    QCheckBox* arrangeImported_ = nullptr;
    std::vector<QPointer<QWidget>> editorWindows_;
    bool leftForEditorWindow_ = false;
    std::unique_ptr<FocusReturn> focusReturn_; // to the window the dialog was opened from
};

} // namespace zov::ui
