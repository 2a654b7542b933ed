#include "host/pptx/Package.h"

#include "host/model/ModelData.h"
#include "host/pptx/PptxError.h"

namespace zov::host::pptx {

const QByteArray* PartSet::find(const QString& name) const
{
    const auto it = index_.constFind(name.toLower());
    return it == index_.constEnd() ? nullptr : &parts_[*it].data;
}

QString PartSet::spelling(const QString& name) const
{
    const auto it = index_.constFind(name.toLower());
    return it == index_.constEnd() ? QString() : parts_[*it].name;
}

void PartSet::set(const QString& name, QByteArray data)
{
    const QString key = name.toLower();
    const auto it = index_.constFind(key);
    if (it != index_.constEnd()) {
        parts_[*it].data = std::move(data);
        return;
    }
    index_.insert(key, parts_.size());
    parts_.push_back({name, std::move(data)});
}

void PartSet::remove(const QString& name)
{
    const auto it = index_.constFind(name.toLower());
    if (it == index_.constEnd())
        return;
    parts_[*it] = Part();
    index_.erase(it);
    if (++holes_ > parts_.size() / 2)
        compact();
}

const std::vector<Part>& PartSet::all()
{
    if (holes_ > 0)
        compact();
    return parts_;
}

void PartSet::compact()
{
    std::erase_if(parts_, [](const Part& part) { return part.name.isEmpty(); });
    holes_ = 0;
    index_.clear();
    for (size_t i = 0; i < parts_.size(); ++i)
        index_.insert(parts_[i].name.toLower(), i);
}

const TextDefaults& Package::defaultsFor(const QString& slidePart) const
{
    static const TextDefaults plain; // immutable: the defaults of a package without theme or styles
    if (const auto it = defaultsBySlide.constFind(slidePart); it != defaultsBySlide.constEnd() && *it)
        return **it;
    return defaultsForNewSlides ? *defaultsForNewSlides : plain;
}

std::shared_ptr<Package> packageOf(const PresentationData& presentation)
{
    return std::static_pointer_cast<Package>(presentation.package);
}

std::vector<Relationship> readRelationships(const PartSet& parts, const QString& part)
{
    const QByteArray* xml = parts.find(relsPartName(part));
    if (!xml)
        return {};
    try {
        return parseRelationships(*xml, relsPartName(part));
    } catch (const PptxError&) {
        return {};
    }
}

} // namespace zov::host::pptx
