#include "host/Slide.h"

#include "host/DocumentWindow.h"
#include "host/geometry/Geometry.h"
#include "host/geometry/Presets.h"
#include "host/model/Lock.h"
#include "host/model/Removal.h"
#include "host/model/SlideIds.h"
#include "host/model/Touch.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace zov::host {

namespace {

QString defaultShapeBaseName(const ShapeData& s)
{
    if (s.kind == ShapeKind::TextBox)
        return QStringLiteral("Text Box");
    if (s.kind == ShapeKind::Connector)
        return QStringLiteral("Straight Connector");
    switch (s.autoShapeType) {
    case ShapeDiamond:
        return QStringLiteral("Diamond");
    case ShapeOval:
        return QStringLiteral("Oval");
    case ShapeNoSymbol:
        return QStringLiteral("No Symbol");
    case ShapePentagon:
        return QStringLiteral("Pentagon");
    case ShapeFlowchartDecision:
        return QStringLiteral("Flowchart: Decision");
    case ShapeRoundedRectangularCallout:
        return QStringLiteral("Rounded Rectangular Callout");
    default:
        return QStringLiteral("Rectangle");
    }
}

// Puts a new shape on top of the slide, named like the host names new shapes.
Shape appendShape(SlideData& slide, std::shared_ptr<ShapeData> shape)
{
    shape->slide = &slide;
    shape->modified = true;
    shape->name = defaultShapeBaseName(*shape) + u' ' + QString::number(slide.shapes.size() + 1);
    slide.shapes.push_back(shape);
    markChanged(slide);
    return Shape(shape);
}

bool nameTaken(const PresentationData& p, const QString& name, const SlideData* except)
{
    return p.slideNames.taken(p, name, except);
}

// A slide (`except`, or a new one when null) may take the name.
void checkName(const PresentationData& p, const QString& name, const SlideData* except)
{
    if (name.isEmpty())
        throw HostError("A slide name cannot be empty");
    if (nameTaken(p, name, except))
        throw HostError("Slide name is already in use: " + name.toStdString());
}

} // namespace

// --- ranges and shape collections ---------------------------------------------------------

void ShapeRange::Delete()
{
    std::vector<std::shared_ptr<ShapeData>> alive;
    alive.reserve(shapes_.size());
    // Shapes deleted since the range was taken are skipped, not reported.
    for (const Shape& s : shapes_)
        if (s.IsAlive())
            alive.push_back(s.lock());
    removeShapes(alive);
}

std::shared_ptr<SlideData> Shapes::lock() const
{
    return lockSlide(d_);
}

int Shapes::Count() const
{
    return static_cast<int>(lock()->shapes.size());
}

Shape Shapes::Item(int index) const
{
    const auto slide = lock();
    if (index < 1 || index > static_cast<int>(slide->shapes.size()))
        throw HostError("The index into the Shapes collection is out of bounds");
    return Shape(slide->shapes[static_cast<std::size_t>(index - 1)]);
}

Shape Shapes::AddShape(int type, float left, float top, float width, float height)
{
    const auto slide = lock();
    const QString preset = presetForAutoShapeType(type);
    if (preset.isEmpty())
        throw HostError("Unsupported shape type " + std::to_string(type));
    auto shape = std::make_shared<ShapeData>();
    if (const auto& defaults = slide->presentation->shapeDefaults) {
        *shape = *defaults;
    } else {
        shape->fillVisible = true;
        shape->fillSolid = true;
        shape->fillRgb = 0xFFFFFF;
        shape->lineVisible = true;
        shape->lineRgb = 0;
    }
    shape->kind = ShapeKind::AutoShape;
    shape->autoShapeType = type;
    shape->preset = preset;
    shape->left = onEmuGrid(left);
    shape->top = onEmuGrid(top);
    shape->width = width;
    shape->height = height;
    return appendShape(*slide, std::move(shape));
}

Shape Shapes::AddLabel(int orientation, float left, float top, float width, float height)
{
    if (orientation != TextOrientationHorizontal)
        throw HostError("Only horizontal labels are supported");
    const auto slide = lock();
    auto shape = std::make_shared<ShapeData>();
    shape->kind = ShapeKind::TextBox;
    shape->autoShapeType = ShapeRectangle;
    shape->preset = QStringLiteral("rect");
    shape->fillVisible = false;
    shape->fillSolid = false;
    shape->lineVisible = false;
    shape->autoSize = AutoSizeShapeToFitText;
    shape->wordWrap = false;
    shape->left = onEmuGrid(left);
    shape->top = onEmuGrid(top);
    shape->width = width;
    shape->height = height;
    return appendShape(*slide, std::move(shape));
}

Shape Shapes::AddConnector(int type, float beginX, float beginY, float endX, float endY)
{
    if (type != ConnectorStraight)
        throw HostError("Only straight connectors are supported");
    const auto slide = lock();
    auto shape = std::make_shared<ShapeData>();
    shape->kind = ShapeKind::Connector;
    shape->autoShapeType = ShapeMixed;
    shape->preset = QStringLiteral("straightConnector1");
    shape->hasTextFrame = false;
    shape->fillVisible = false;
    shape->lineVisible = true;
    shape->begin = QPointF(beginX, beginY);
    shape->end = QPointF(endX, endY);
    syncConnectorBox(*shape);
    return appendShape(*slide, std::move(shape));
}

ShapeRange Shapes::Range() const
{
    const auto slide = lock();
    std::vector<Shape> all;
    all.reserve(slide->shapes.size());
    for (const auto& s : slide->shapes)
        all.emplace_back(s);
    return ShapeRange(std::move(all));
}

// --- slide --------------------------------------------------------------------------------

bool Slide::operator==(const Slide& other) const
{
    return d_.lock() == other.d_.lock();
}

SlideData& Slide::data() const
{
    return *lockSlide(d_);
}

std::shared_ptr<SlideData> Slide::lock() const
{
    return lockSlide(d_);
}

QString Slide::Name() const
{
    return lock()->name;
}

void Slide::SetName(const QString& name)
{
    const auto slide = lock();
    checkName(*slide->presentation, name, slide.get());
    const QString oldName = std::exchange(slide->name, name);
    slide->presentation->slideNames.renamed(*slide, oldName);
    markChanged(*slide);
}

int Slide::SlideIndex() const
{
    const auto slide = lock();
    const auto& slides = slide->presentation->slides;
    const auto it = std::find(slides.begin(), slides.end(), slide);
    return static_cast<int>(it - slides.begin()) + 1;
}

int Slide::SlideID() const
{
    return static_cast<int>(lock()->slideId);
}

void Slide::Delete()
{
    const auto slide = lock();
    PresentationData& p = *slide->presentation;
    auto& slides = p.slides;
    const auto it = std::find(slides.begin(), slides.end(), slide);
    const auto index = it - slides.begin();
    slides.erase(it);
    p.slideNames.removed(*slide);
    slide->presentation = nullptr;
    if (auto window = p.window.lock()) {
        // The view moves to the slide that took this one's place, or the one before it.
        if (window->slide.lock() == slide || window->slide.expired()) {
            if (slides.empty())
                window->slide.reset();
            else
                window->slide = slides[static_cast<std::size_t>(std::min<std::ptrdiff_t>(index, std::ssize(slides) - 1))];
        }
        const auto selected = window->selectedShape.lock();
        if (selected && selected->slide == slide.get())
            window->selectedShape.reset();
    }
    markChanged(p);
}

// --- slide list ---------------------------------------------------------------------------

std::shared_ptr<PresentationData> Slides::lock() const
{
    return lockPresentation(d_);
}

int Slides::Count() const
{
    return static_cast<int>(lock()->slides.size());
}

Slide Slides::Item(int index) const
{
    const auto p = lock();
    if (index < 1 || index > static_cast<int>(p->slides.size()))
        throw HostError("The index into the Slides collection is out of bounds");
    return Slide(p->slides[static_cast<std::size_t>(index - 1)]);
}

Slide Slides::FindByName(const QString& name) const
{
    const auto p = lock();
    SlideData* found = p->slideNames.first(*p, name);
    return found ? Slide(found->weak_from_this()) : Slide();
}

void Slides::CheckNewName(const QString& name) const
{
    checkName(*lock(), name, nullptr);
}

Slide Slides::Add(int index, int layout)
{
    const auto p = lock();
    if (index < 1 || index > static_cast<int>(p->slides.size()) + 1)
        throw HostError("The slide index is out of range");
    if (layout != LayoutBlank)
        throw HostError("Only the blank slide layout is supported");
    auto slide = std::make_shared<SlideData>();
    slide->presentation = p.get();
    if (p->highestSlideId == 0) {
        p->highestSlideId = FirstSlideId - 1;
        for (const auto& s : p->slides)
            p->highestSlideId = std::max(p->highestSlideId, s->slideId);
    }
    if (p->highestSlideId < LastSlideId) {
        slide->slideId = ++p->highestSlideId;
    } else {
        // A slide that undo brings back may then share its id: only in such a deck.
        std::unordered_set<std::uint32_t> used;
        for (const auto& s : p->slides)
            used.insert(s->slideId);
        slide->slideId = LowestFreeSlideId([&used](std::uint32_t id) { return used.count(id) != 0; });
    }
    int number = static_cast<int>(p->slides.size()) + 1;
    while (nameTaken(*p, QStringLiteral("Slide") + QString::number(number), nullptr))
        ++number;
    slide->name = QStringLiteral("Slide") + QString::number(number);
    slide->modified = true;
    p->slides.insert(p->slides.begin() + (index - 1), slide);
    p->slideNames.added(*slide);
    if (auto window = p->window.lock(); window && window->slide.expired())
        window->slide = slide;
    markChanged(*p);
    return Slide(slide);
}

void Slides::Move(int from, int to)
{
    const auto p = lock();
    const int n = static_cast<int>(p->slides.size());
    if (from < 1 || from > n || to < 1 || to > n)
        throw HostError("The slide index is out of range");
    auto slide = p->slides[static_cast<std::size_t>(from - 1)];
    p->slides.erase(p->slides.begin() + (from - 1));
    p->slides.insert(p->slides.begin() + (to - 1), slide);
    markChanged(*p);
}

} // namespace zov::host
