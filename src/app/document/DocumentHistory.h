#pragma once
// Undo and redo for a presentation, by snapshots of its model.
//
// Every state of the document the user can go back to is one snapshot: the slides in order
// with their names and shapes, and every shape's data. A snapshot keeps the very slide and
// shape records it copied, and restoring one writes the copies back into those records, so
// the handles that the editor and the window hold stay valid across undo and redo (a deleted
// shape's handle works again once its deletion is undone). A record whose version did not move
// since the snapshot before shares that snapshot's copy, so a step holds copies of what it
// changed only (and a few words per slide and shape).
//
// Changes arrive without being announced (the add-in edits through the object model): call
// `record()` when a change may have ended; it compares the presentation's revision with the
// last recorded one and takes a snapshot only when they differ. There is no limit on the
// number of steps.
#include "host/Presentation.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zov::app {

class DocumentHistory {
public:
    // Starts the history at the presentation's present state, which counts as saved when the
    // presentation says so.
    explicit DocumentHistory(host::Presentation presentation);
    ~DocumentHistory();
    DocumentHistory(const DocumentHistory&) = delete;
    DocumentHistory& operator=(const DocumentHistory&) = delete;

    const host::Presentation& presentation() const { return presentation_; }

    // Takes a snapshot when the document changed since the last one; returns true if it did.
    // Changes while paused are not recorded (a drag records once, when it ends).
    bool record();
    // While nothing changed since the last snapshot: the slide in view now is where the next
    // change starts from, shown when that change is undone and took its own slide away (a graph
    // slide added at the end, undone, goes back to the slide the user was on).
    void noteViewAtRest();
    void setPaused(bool paused) { paused_ = paused; }
    bool paused() const { return paused_; }

    bool canUndo() const { return current_ > 0; }
    bool canRedo() const { return current_ + 1 < states_.size(); }
    // Both record a pending change first, then step; false when there is nothing to step to.
    bool undo();
    bool redo();
    // Puts the document back to the state of the last snapshot (drops an unrecorded change).
    void revert();

    // The present state is what the file holds; the presentation's Saved flag follows whether
    // undo and redo lead back to it.
    void markSaved();
    bool atSavedState() const;

    std::size_t stepCount() const { return states_.size(); }

    struct State;

private:
    // The present state; records unchanged since `before` share its copies.
    std::shared_ptr<const State> capture(const State* before) const;
    // Writes `state` back; the view goes to the slide that was in view when `change` was
    // recorded (the state the step leads to, where the user saw the change happen), else to
    // the one in view before that change began, else to the place of the slide in view.
    void restore(const State& state, const State& change);

    host::Presentation presentation_;
    std::vector<std::shared_ptr<const State>> states_;
    std::size_t current_ = 0;
    std::ptrdiff_t saved_ = -1; // index of the state the file holds; -1 none
    std::uint64_t recordedRevision_ = 0;
    bool paused_ = false;
    std::weak_ptr<host::SlideData> viewAtRest_;
};

} // namespace zov::app
