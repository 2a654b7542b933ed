#include "platform/fake/ScriptedCommonDialog.h"

namespace zov::platform {

namespace {

template <typename T>
std::optional<T> takeFront(std::deque<std::optional<T>>& queue) {
    if (queue.empty())
        return std::nullopt;
    std::optional<T> answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

} // namespace

std::optional<QString> ScriptedCommonDialog::ShowOpen(const FileDialogRequest& request) {
    requests_.push_back(Request{Kind::Open, request, 0, {}, 0});
    requests_.back().file.chosenFilterIndex = nullptr;
    std::optional<QString> path = takeFront(paths_);
    // The user keeps the file type the dialog showed first.
    if (path && request.chosenFilterIndex)
        *request.chosenFilterIndex = request.filterIndex;
    return path;
}

std::optional<QString> ScriptedCommonDialog::ShowSave(const FileDialogRequest& request) {
    requests_.push_back(Request{Kind::Save, request, 0, {}, 0});
    requests_.back().file.chosenFilterIndex = nullptr;
    std::optional<QString> path = takeFront(paths_);
    // The file type scripted for this answer, else the one the dialog showed first.
    int chosen = request.filterIndex;
    if (path && !filterIndexes_.empty()) {
        chosen = filterIndexes_.front();
        filterIndexes_.pop_front();
    }
    if (path && request.chosenFilterIndex)
        *request.chosenFilterIndex = chosen;
    return path;
}

std::optional<std::int32_t> ScriptedCommonDialog::ShowColor(std::int32_t initial) {
    requests_.push_back(Request{Kind::Color, {}, initial, {}, 0});
    return takeFront(colors_);
}

std::optional<FontChoice> ScriptedCommonDialog::ShowFont(const FontChoice& initial, int flags) {
    requests_.push_back(Request{Kind::Font, {}, 0, initial, flags});
    return takeFront(fonts_);
}

} // namespace zov::platform
