#include "app/document/DocumentHistory.h"

#include "host/DocumentWindow.h"

#include <algorithm>
#include <unordered_set>

namespace zov::app {

using host::PresentationData;
using host::ShapeData;
using host::SlideData;

struct DocumentHistory::State {
    struct ShapeState {
        std::shared_ptr<ShapeData> object;
        ShapeData copy;
    };
    struct SlideState {
        std::shared_ptr<SlideData> object;
        SlideData copy; // its `shapes` hold the shape records in order
        std::vector<ShapeState> shapes;
    };
    float slideWidth = 0, slideHeight = 0;
    std::shared_ptr<const ShapeData> shapeDefaults;
    std::vector<SlideState> slides;
    std::weak_ptr<SlideData> slideInView;
};

DocumentHistory::DocumentHistory(host::Presentation presentation) : presentation_(std::move(presentation))
{
    states_.push_back(capture());
    recordedRevision_ = presentation_.data().revision;
    if (presentation_.Saved())
        saved_ = 0;
}

DocumentHistory::~DocumentHistory() = default;

std::shared_ptr<const DocumentHistory::State> DocumentHistory::capture() const
{
    const PresentationData& p = presentation_.data();
    auto state = std::make_shared<State>();
    state->slideWidth = p.slideWidth;
    state->slideHeight = p.slideHeight;
    state->shapeDefaults = p.shapeDefaults;
    state->slides.reserve(p.slides.size());
    for (const auto& slide : p.slides) {
        State::SlideState s{slide, *slide, {}};
        s.shapes.reserve(slide->shapes.size());
        for (const auto& shape : slide->shapes)
            s.shapes.push_back({shape, *shape});
        state->slides.push_back(std::move(s));
    }
    if (const auto window = p.window.lock())
        state->slideInView = window->slide;
    return state;
}

void DocumentHistory::restore(const State& state, const State& change)
{
    PresentationData& p = presentation_.data();

    // Everything present now; what the state does not bring back counts as deleted.
    std::unordered_set<SlideData*> slidesBefore;
    std::unordered_set<ShapeData*> shapesBefore;
    for (const auto& slide : p.slides) {
        slidesBefore.insert(slide.get());
        for (const auto& shape : slide->shapes)
            shapesBefore.insert(shape.get());
    }

    p.slideWidth = state.slideWidth;
    p.slideHeight = state.slideHeight;
    p.shapeDefaults = state.shapeDefaults;
    p.slides.clear();
    p.slideNames.drop();
    for (const auto& s : state.slides) {
        *s.object = s.copy;
        s.object->presentation = &p;
        p.slides.push_back(s.object);
        slidesBefore.erase(s.object.get());
        for (const auto& shape : s.shapes) {
            *shape.object = shape.copy;
            shape.object->slide = s.object.get();
            shapesBefore.erase(shape.object.get());
        }
    }
    for (SlideData* gone : slidesBefore) {
        gone->presentation = nullptr;
        for (const auto& shape : gone->shapes)
            shapesBefore.erase(shape.get()); // they go with their slide, which keeps them
    }
    for (ShapeData* gone : shapesBefore)
        gone->slide = nullptr;

    if (const auto window = p.window.lock()) {
        const auto wanted = change.slideInView.lock();
        const auto present = [&](const std::shared_ptr<SlideData>& slide) {
            return slide && std::find(p.slides.begin(), p.slides.end(), slide) != p.slides.end();
        };
        if (present(wanted))
            window->slide = wanted;
        else if (!present(window->slide.lock()))
            window->slide = p.slides.empty() ? std::weak_ptr<SlideData>() : p.slides.front();
        window->selectedShape.reset();
        window->selectionStart = window->selectionLength = 0;
    }
    ++p.revision;
    recordedRevision_ = p.revision;
}

bool DocumentHistory::record()
{
    if (paused_ || presentation_.data().revision == recordedRevision_)
        return false;
    states_.resize(current_ + 1);
    if (saved_ > static_cast<std::ptrdiff_t>(current_))
        saved_ = -1; // the saved state was undone and is now out of reach
    states_.push_back(capture());
    current_ = states_.size() - 1;
    recordedRevision_ = presentation_.data().revision;
    return true;
}

bool DocumentHistory::undo()
{
    record();
    if (!canUndo())
        return false;
    --current_;
    restore(*states_[current_], *states_[current_ + 1]);
    presentation_.SetSaved(atSavedState());
    return true;
}

bool DocumentHistory::redo()
{
    record();
    if (!canRedo())
        return false;
    ++current_;
    restore(*states_[current_], *states_[current_]);
    presentation_.SetSaved(atSavedState());
    return true;
}

void DocumentHistory::revert()
{
    if (presentation_.data().revision == recordedRevision_)
        return;
    restore(*states_[current_], *states_[current_]);
    presentation_.SetSaved(atSavedState());
}

void DocumentHistory::markSaved()
{
    record();
    saved_ = static_cast<std::ptrdiff_t>(current_);
    presentation_.SetSaved(true);
}

bool DocumentHistory::atSavedState() const
{
    return saved_ == static_cast<std::ptrdiff_t>(current_);
}

} // namespace zov::app
