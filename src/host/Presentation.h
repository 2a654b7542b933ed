#pragma once
// A presentation: page setup and slides. Opening and saving .pptx files lives in host/pptx.
#include "host/Slide.h"

#include <memory>

namespace zov::host {

class PageSetup {
public:
    explicit PageSetup(std::weak_ptr<PresentationData> d) : d_(std::move(d)) {}
    float SlideWidth() const;
    float SlideHeight() const;
    void SetSlideWidth(float points);
    void SetSlideHeight(float points);
private:
    std::weak_ptr<PresentationData> d_;
};

class Presentation {
public:
    Presentation() = default;
    explicit Presentation(std::shared_ptr<PresentationData> d) : d_(std::move(d)) {}
    bool IsNothing() const { return d_ == nullptr; }
    bool operator==(const Presentation& other) const { return d_ == other.d_; }

    host::PageSetup PageSetup() const;
    host::Slides Slides() const;
    QString FullName() const;
    bool Saved() const;
    void SetSaved(bool saved);

    PresentationData& data() const;
    const std::shared_ptr<PresentationData>& shared() const { return d_; }
private:
    std::shared_ptr<PresentationData> d_;
};

// Makes a new, empty presentation: no slides, 720 x 540 points.
Presentation NewPresentation();

} // namespace zov::host
