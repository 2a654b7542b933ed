#pragma once
// The common dialog: file open and save, the colour chooser and the font chooser. The desktop
// implementation shows Qt dialogs; tests script the answers. Every call is modal and returns
// nothing when the user cancels.
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace zov::platform {

struct FileDialogRequest {
    // Pairs of description and pattern, each followed by "|": "CGIF files (*.cgf)|*.cgf|".
    QString filter;
    int filterIndex = 1;  // 1-based entry of `filter` shown first
    QString initDir;      // the folder the dialog opens in
    QString defaultExt;   // given to a name typed without extension, e.g. ".cgf"; empty: none
    QString fileName;     // the name shown at first (the dialog keeps the name chosen last)
    QString title;        // the dialog's caption; empty: the platform's own ("Open", "Save As")
    bool cancelError = false; // the caller treats cancelling as an error it traps
    // When set, receives the 1-based entry of `filter` that was selected when a file was chosen
    // (the file type the user picked); left alone when the dialog is cancelled.
    int* chosenFilterIndex = nullptr;
};

struct FontChoice {
    QString name;
    double size = 0; // points; 0 or less when no size is held
};

class CommonDialog {
public:
    virtual ~CommonDialog() = default;
    // The chosen full path, or nothing when cancelled.
    virtual std::optional<QString> ShowOpen(const FileDialogRequest& request) = 0;
    // The save dialog asks before it returns the name of a file that exists already.
    virtual std::optional<QString> ShowSave(const FileDialogRequest& request) = 0;
    // Colours in and out as 0x00BBGGRR. Nothing when cancelled.
    virtual std::optional<std::int32_t> ShowColor(std::int32_t initial) = 0;
    // `flags` 3 lists screen and printer fonts alike. Nothing when cancelled.
    virtual std::optional<FontChoice> ShowFont(const FontChoice& initial, int flags) = 0;
};

// One entry of a "description|pattern|" filter text.
struct FilterEntry {
    QString description;
    QString pattern;
};
// Splits a filter text into its entries; a trailing "|" ends the list, a missing pattern is empty.
std::vector<FilterEntry> ParseFilter(const QString& filter);

} // namespace zov::platform
