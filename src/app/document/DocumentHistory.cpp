#include "app/document/DocumentHistory.h"

#include "host/DocumentWindow.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace zov::app {

using host::PresentationData;
using host::ShapeData;
using host::SlideData;

// A state keeps the records as they were in copies that states share: a slide or shape record
// whose version has not moved since the state before keeps that state's copy, so that a step
// costs memory for what changed, not for the whole document.
struct DocumentHistory::State {
    struct ShapeState {
        std::shared_ptr<ShapeData> object;
        std::shared_ptr<const ShapeData> copy;
    };
    struct SlideCopy {
        SlideData slide; // its `shapes` hold the shape records in order
        std::vector<ShapeState> shapes;
    };
    struct SlideState {
        std::shared_ptr<SlideData> object;
        std::shared_ptr<const SlideCopy> copy;
    };
    float slideWidth = 0, slideHeight = 0;
    std::shared_ptr<const ShapeData> shapeDefaults;
    std::vector<SlideState> slides;
    std::weak_ptr<SlideData> slideInView;
    std::weak_ptr<SlideData> slideInViewBefore; // at rest before the change to this state began
};

namespace {

using State = DocumentHistory::State;

// The entry of the state before that holds the same record: mostly the same records stand in
// the same places, so the same place is looked at first, and the others are found through a
// map made the first time one is needed.
template <typename Entry>
class EntriesBefore {
public:
    explicit EntriesBefore(const std::vector<Entry>* entries) : entries_(entries) {}
    const Entry* find(std::size_t place, const void* object)
    {
        if (entries_ == nullptr)
            return nullptr;
        if (place < entries_->size() && (*entries_)[place].object.get() == object)
            return &(*entries_)[place];
        if (byObject_.empty()) {
            byObject_.reserve(entries_->size());
            for (const Entry& entry : *entries_)
                byObject_.emplace(entry.object.get(), &entry);
        }
        const auto it = byObject_.find(object);
        return it == byObject_.end() ? nullptr : it->second;
    }

private:
    const std::vector<Entry>* entries_;
    std::unordered_map<const void*, const Entry*> byObject_;
};

std::shared_ptr<const ShapeData> shapeCopy(const std::shared_ptr<ShapeData>& shape, const State::ShapeState* before)
{
    if (before != nullptr && before->copy->version == shape->version)
        return before->copy;
    return std::make_shared<const ShapeData>(*shape);
}

// The same shapes in the same order, each with the very copy of the other, and the same slide
// fields (but its version and its flag for a save).
bool sameSlide(const State::SlideCopy& a, const State::SlideCopy& b)
{
    if (a.shapes.size() != b.shapes.size() || a.slide.slideId != b.slide.slideId || a.slide.name != b.slide.name ||
        a.slide.partName != b.slide.partName || a.slide.sourcePackage != b.slide.sourcePackage ||
        a.slide.sourceXml != b.slide.sourceXml || a.slide.relsXml != b.slide.relsXml)
        return false;
    for (std::size_t i = 0; i < a.shapes.size(); ++i)
        if (a.shapes[i].object != b.shapes[i].object || a.shapes[i].copy != b.shapes[i].copy)
            return false;
    return true;
}

std::shared_ptr<const State::SlideCopy> slideCopy(const std::shared_ptr<SlideData>& slide, const State::SlideState* before)
{
    if (before != nullptr && before->copy->slide.version == slide->version)
        return before->copy; // neither the slide nor any of its shapes was written
    auto copy = std::make_shared<State::SlideCopy>();
    copy->slide = *slide;
    copy->shapes.reserve(slide->shapes.size());
    EntriesBefore<State::ShapeState> shapesBefore(before != nullptr ? &before->copy->shapes : nullptr);
    for (std::size_t i = 0; i < slide->shapes.size(); ++i) {
        const std::shared_ptr<ShapeData>& shape = slide->shapes[i];
        copy->shapes.push_back({shape, shapeCopy(shape, shapesBefore.find(i, shape.get()))});
    }
    // Written, yet back as it was (a shape added and taken away again, as a command that fails
    // half way leaves it): the copy before stands for it, so that no empty step is recorded.
    if (before != nullptr && sameSlide(*copy, *before->copy))
        return before->copy;
    return copy;
}

// The same slides in the same order, each with the very copy of the other (so neither the slide
// nor any of its shapes was written), and the same page size and shape defaults.
bool sameContent(const State& a, const State& b)
{
    if (a.slideWidth != b.slideWidth || a.slideHeight != b.slideHeight || a.shapeDefaults != b.shapeDefaults ||
        a.slides.size() != b.slides.size())
        return false;
    for (std::size_t i = 0; i < a.slides.size(); ++i)
        if (a.slides[i].object != b.slides[i].object || a.slides[i].copy != b.slides[i].copy)
            return false;
    return true;
}

} // namespace

DocumentHistory::DocumentHistory(host::Presentation presentation) : presentation_(std::move(presentation))
{
    states_.push_back(capture(nullptr));
    recordedRevision_ = presentation_.data().revision;
    if (presentation_.Saved())
        saved_ = 0;
}

DocumentHistory::~DocumentHistory() = default;

std::shared_ptr<const DocumentHistory::State> DocumentHistory::capture(const State* before) const
{
    const PresentationData& p = presentation_.data();
    auto state = std::make_shared<State>();
    state->slideWidth = p.slideWidth;
    state->slideHeight = p.slideHeight;
    state->shapeDefaults = p.shapeDefaults;
    state->slides.reserve(p.slides.size());
    EntriesBefore<State::SlideState> slidesBefore(before != nullptr ? &before->slides : nullptr);
    for (std::size_t i = 0; i < p.slides.size(); ++i) {
        const std::shared_ptr<SlideData>& slide = p.slides[i];
        state->slides.push_back({slide, slideCopy(slide, slidesBefore.find(i, slide.get()))});
    }
    if (const auto window = p.window.lock())
        state->slideInView = window->slide;
    state->slideInViewBefore = viewAtRest_;
    return state;
}

void DocumentHistory::restore(const State& state, const State& change)
{
    PresentationData& p = presentation_.data();

    // Where the slide in view stands now: when the step takes it away, its place is shown.
    std::size_t placeInView = 0;
    if (const auto window = p.window.lock()) {
        const auto inView = std::find(p.slides.begin(), p.slides.end(), window->slide.lock());
        if (inView != p.slides.end())
            placeInView = static_cast<std::size_t>(inView - p.slides.begin());
    }

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
        *s.object = s.copy->slide;
        s.object->presentation = &p;
        p.slides.push_back(s.object);
        slidesBefore.erase(s.object.get());
        for (const auto& shape : s.copy->shapes) {
            *shape.object = *shape.copy;
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
        const auto before = change.slideInViewBefore.lock();
        const auto present = [&](const std::shared_ptr<SlideData>& slide) {
            return slide && std::find(p.slides.begin(), p.slides.end(), slide) != p.slides.end();
        };
        if (present(wanted))
            window->slide = wanted;
        else if (present(before))
            window->slide = before;
        else if (!present(window->slide.lock())) // the slide in its place, or the last before it
            window->slide = p.slides.empty() ? std::weak_ptr<SlideData>() : p.slides[std::min(placeInView, p.slides.size() - 1)];
        window->selectedShape.reset();
        window->selectionStart = window->selectionLength = 0;
        viewAtRest_ = window->slide; // where the user is now, for the next change
    }
    ++p.revision;
    recordedRevision_ = p.revision;
}

void DocumentHistory::noteViewAtRest()
{
    const host::PresentationData& p = presentation_.data();
    if (p.revision != recordedRevision_)
        return;
    if (const auto window = p.window.lock())
        viewAtRest_ = window->slide;
}

bool DocumentHistory::record()
{
    if (paused_ || presentation_.data().revision == recordedRevision_)
        return false;
    auto state = capture(states_[current_].get());
    recordedRevision_ = presentation_.data().revision;
    // Changes that cancel out (a slide added and taken away again, as a drawing that fails
    // does) leave every record's copy shared with the present state: no step to undo, and the
    // steps to redo stay.
    if (sameContent(*state, *states_[current_]))
        return false;
    states_.resize(current_ + 1);
    if (saved_ > static_cast<std::ptrdiff_t>(current_))
        saved_ = -1; // the saved state was undone and is now out of reach
    states_.push_back(std::move(state));
    current_ = states_.size() - 1;
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
