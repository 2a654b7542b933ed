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

// The filter entry of a file answer: the scripted one, else the entry shown first.
void chooseFilter(const FileDialogRequest& request, std::deque<int>& scripted) {
    request.chosenFilterIndex = request.filterIndex;
    if (!scripted.empty()) {
        request.chosenFilterIndex = scripted.front();
        scripted.pop_front();
    }
}

} // namespace

std::optional<QString> ScriptedCommonDialog::ShowOpen(const FileDialogRequest& request) {
    requests_.push_back(Request{Kind::Open, request, 0, {}, 0});
    std::optional<QString> answer = takeFront(paths_);
    if (answer)
        chooseFilter(request, filterIndexes_);
    return answer;
}

std::optional<QString> ScriptedCommonDialog::ShowSave(const FileDialogRequest& request) {
    requests_.push_back(Request{Kind::Save, request, 0, {}, 0});
    std::optional<QString> answer = takeFront(paths_);
    if (answer)
        chooseFilter(request, filterIndexes_);
    return answer;
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
