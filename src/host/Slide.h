#pragma once
// Slides, their shape collections, and the presentation's slide list.
#include "host/Shape.h"

#include <QString>
#include <memory>
#include <vector>

namespace zov::host {

class Presentation;

// Every shape of a slide at the moment it was taken, so that Delete removes exactly those.
class ShapeRange {
public:
    explicit ShapeRange(std::vector<Shape> shapes) : shapes_(std::move(shapes)) {}
    int Count() const { return static_cast<int>(shapes_.size()); }
    void Delete();
private:
    std::vector<Shape> shapes_;
};

class Shapes {
public:
    explicit Shapes(std::weak_ptr<SlideData> d) : d_(std::move(d)) {}
    int Count() const;
    Shape Item(int index) const; // 1-based, back to front
    Shape AddShape(int type, float left, float top, float width, float height);
    Shape AddLabel(int orientation, float left, float top, float width, float height);
    Shape AddConnector(int type, float beginX, float beginY, float endX, float endY);
    ShapeRange Range() const;
private:
    std::shared_ptr<SlideData> lock() const;
    std::weak_ptr<SlideData> d_;
};

class Slide {
public:
    Slide() = default;
    explicit Slide(std::weak_ptr<SlideData> d) : d_(std::move(d)) {}
    bool IsNothing() const { return d_.expired(); }
    bool operator==(const Slide& other) const;

    QString Name() const;
    void SetName(const QString& name); // HostError when another slide already has that name
    int SlideIndex() const;            // 1-based
    int SlideID() const;
    host::Shapes Shapes() const { return host::Shapes(d_); }
    void Delete();

    SlideData& data() const;
    std::shared_ptr<SlideData> lock() const;
private:
    std::weak_ptr<SlideData> d_;
};

class Slides {
public:
    explicit Slides(std::weak_ptr<PresentationData> d) : d_(std::move(d)) {}
    int Count() const;
    Slide Item(int index) const;         // 1-based
    Slide FindByName(const QString& name) const; // exact, case-sensitive; empty handle if none
    // Throws the HostError that Slide::SetName gives when a new slide cannot take the name;
    // changes nothing.
    void CheckNewName(const QString& name) const;
    Slide Add(int index, int layout);    // layout 12 = blank; index 1..Count+1
    void Move(int from, int to);         // 1-based positions
private:
    std::shared_ptr<PresentationData> lock() const;
    std::weak_ptr<PresentationData> d_;
};

} // namespace zov::host
