#pragma once
// The palette's text box as the editing commands see it: the label or name for the next
// command. The palette window implements it over its line edit; MemoryTextBox keeps the text in
// memory for the command line and for tests.
#include <QString>

namespace zov::editor {

class PaletteTextBox {
public:
    virtual ~PaletteTextBox() = default;
    virtual QString Text() const = 0;
    virtual void SetText(const QString& text) = 0;
    // Gives the text box the keyboard focus.
    virtual void SetFocus() = 0;
};

// A text box without a window: it holds the text and counts how often it was given the focus.
class MemoryTextBox : public PaletteTextBox {
public:
    QString Text() const override { return text_; }
    void SetText(const QString& text) override { text_ = text; }
    void SetFocus() override { ++focusCount_; }

    int FocusCount() const { return focusCount_; }
    void ResetFocusCount() { focusCount_ = 0; }

private:
    QString text_;
    int focusCount_ = 0;
};

} // namespace zov::editor
