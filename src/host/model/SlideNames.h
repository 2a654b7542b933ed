#pragma once
// The presentation's index of slide names, so that finding a slide by name and checking that a
// name is free cost the same however many slides there are. Built from the slide list when
// first asked after it was dropped, then kept in step by the slide list's own operations.
#include <QMultiHash>
#include <QString>

namespace zov::host {

struct PresentationData;
struct SlideData;

class SlideNameIndex {
public:
    // The first slide in slide order with exactly that name, or null.
    SlideData* first(const PresentationData& p, const QString& name) const;
    // Whether a slide other than `except` has that name.
    bool taken(const PresentationData& p, const QString& name, const SlideData* except) const;

    void added(const SlideData& slide);
    void removed(const SlideData& slide);
    void renamed(const SlideData& slide, const QString& oldName);
    // For changes made to the slide list as a whole (loading, undo): rebuilt when next asked.
    void drop() { valid_ = false; byName_.clear(); }

private:
    void build(const PresentationData& p) const;
    mutable bool valid_ = false;
    mutable QMultiHash<QString, SlideData*> byName_;
};

} // namespace zov::host
