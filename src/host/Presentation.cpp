#include "host/Presentation.h"

#include "host/model/Lock.h"
#include "host/model/Touch.h"

namespace zov::host {

float PageSetup::SlideWidth() const
{
    return lockPresentation(d_)->slideWidth;
}

float PageSetup::SlideHeight() const
{
    return lockPresentation(d_)->slideHeight;
}

void PageSetup::SetSlideWidth(float points)
{
    if (!(points > 0))
        throw HostError("The slide width must be positive");
    const auto p = lockPresentation(d_);
    p->slideWidth = points;
    markChanged(*p);
}

void PageSetup::SetSlideHeight(float points)
{
    if (!(points > 0))
        throw HostError("The slide height must be positive");
    const auto p = lockPresentation(d_);
    p->slideHeight = points;
    markChanged(*p);
}

PresentationData& Presentation::data() const
{
    if (!d_)
        throw HostError("Object does not exist: no presentation");
    return *d_;
}

host::PageSetup Presentation::PageSetup() const
{
    data();
    return host::PageSetup(d_);
}

host::Slides Presentation::Slides() const
{
    data();
    return host::Slides(d_);
}

QString Presentation::FullName() const
{
    return data().fullName;
}

bool Presentation::Saved() const
{
    return data().saved;
}

void Presentation::SetSaved(bool saved)
{
    data().saved = saved;
}

Presentation NewPresentation()
{
    auto p = std::make_shared<PresentationData>();
    p->slideWidth = 720;
    p->slideHeight = 540;
    return Presentation(std::move(p));
}

} // namespace zov::host
