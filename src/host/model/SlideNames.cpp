#include "host/model/SlideNames.h"

#include "host/model/ModelData.h"

#include <algorithm>

namespace zov::host {

void SlideNameIndex::build(const PresentationData& p) const
{
    if (valid_)
        return;
    byName_.clear();
    byName_.reserve(static_cast<qsizetype>(p.slides.size()));
    for (const auto& s : p.slides)
        byName_.insert(s->name, s.get());
    valid_ = true;
}

SlideData* SlideNameIndex::first(const PresentationData& p, const QString& name) const
{
    build(p);
    auto [it, end] = byName_.equal_range(name);
    if (it == end)
        return nullptr;
    if (std::next(it) == end)
        return *it;
    // Several slides share the name (a file can hold such): the earliest in slide order wins.
    for (const auto& s : p.slides)
        if (s->name == name)
            return s.get();
    return nullptr;
}

bool SlideNameIndex::taken(const PresentationData& p, const QString& name, const SlideData* except) const
{
    build(p);
    auto [it, end] = byName_.equal_range(name);
    return std::any_of(it, end, [&](const SlideData* s) { return s != except; });
}

void SlideNameIndex::added(const SlideData& slide)
{
    if (valid_)
        byName_.insert(slide.name, const_cast<SlideData*>(&slide));
}

void SlideNameIndex::removed(const SlideData& slide)
{
    if (valid_)
        byName_.remove(slide.name, const_cast<SlideData*>(&slide));
}

void SlideNameIndex::renamed(const SlideData& slide, const QString& oldName)
{
    if (!valid_)
        return;
    byName_.remove(oldName, const_cast<SlideData*>(&slide));
    byName_.insert(slide.name, const_cast<SlideData*>(&slide));
}

} // namespace zov::host
