#pragma once
// A common dialog for tests: every request is recorded, and the answers come from a script.
// When the script of a kind runs out, the dialog answers as if the user cancelled.
#include "platform/CommonDialog.h"

#include <deque>
#include <vector>

namespace zov::platform {

class ScriptedCommonDialog : public CommonDialog {
public:
    enum class Kind { Open, Save, Color, Font };
    struct Request {
        Kind kind;
        FileDialogRequest file; // Open and Save
        std::int32_t color = 0; // Color
        FontChoice font;        // Font
        int fontFlags = 0;
    };

    std::optional<QString> ShowOpen(const FileDialogRequest& request) override;
    std::optional<QString> ShowSave(const FileDialogRequest& request) override;
    std::optional<std::int32_t> ShowColor(std::int32_t initial) override;
    std::optional<FontChoice> ShowFont(const FontChoice& initial, int flags) override;

    // Queue the next answer of a kind; std::nullopt scripts a cancel.
    void scriptPath(std::optional<QString> path) { paths_.push_back(std::move(path)); }
    // The file type (filter entry) chosen with the next path a save dialog answers; without
    // one, the entry the dialog showed first.
    void scriptFilterIndex(int index) { filterIndexes_.push_back(index); }
    void scriptColor(std::optional<std::int32_t> color) { colors_.push_back(color); }
    void scriptFont(std::optional<FontChoice> font) { fonts_.push_back(std::move(font)); }

    const std::vector<Request>& requests() const { return requests_; }

private:
    std::deque<std::optional<QString>> paths_;
    std::deque<int> filterIndexes_;
    std::deque<std::optional<std::int32_t>> colors_;
    std::deque<std::optional<FontChoice>> fonts_;
    std::vector<Request> requests_;
};

} // namespace zov::platform
