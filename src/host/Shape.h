#pragma once
// A handle onto one shape of a slide, with the members the editor relies on. A handle is
// cheap to copy; it does not keep its shape alive. Using an empty handle, or one whose shape
// has been deleted, raises HostError.
#include "host/AutoShapeType.h"
#include "host/HostError.h"
#include "host/model/ModelData.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace zov::host {

class Shape;
class Slide;

// Which colour of a shape a ColorFormat stands for.
enum class ColorTarget { Fill, Line };

class ColorFormat {
public:
    explicit ColorFormat(std::weak_ptr<ShapeData> d, ColorTarget target = ColorTarget::Fill)
        : d_(std::move(d)), target_(target) {}
    std::int32_t RGB() const; // 0x00BBGGRR
    void SetRGB(std::int32_t bgr);
private:
    std::weak_ptr<ShapeData> d_;
    ColorTarget target_;
};

class FillFormat {
public:
    explicit FillFormat(std::weak_ptr<ShapeData> d) : d_(std::move(d)) {}
    void Solid();
    bool Visible() const;
    void SetVisible(bool visible);
    ColorFormat ForeColor() const { return ColorFormat(d_); }
private:
    std::weak_ptr<ShapeData> d_;
};

class LineFormat {
public:
    explicit LineFormat(std::weak_ptr<ShapeData> d) : d_(std::move(d)) {}
    int EndArrowheadStyle() const;
    void SetEndArrowheadStyle(int style);
    int BeginArrowheadStyle() const;
    void SetBeginArrowheadStyle(int style);
    bool Visible() const;
    void SetVisible(bool visible);
    float Weight() const; // points
    void SetWeight(float points);
    ColorFormat ForeColor() const { return ColorFormat(d_, ColorTarget::Line); }
private:
    std::weak_ptr<ShapeData> d_;
};

class FontFormat {
public:
    explicit FontFormat(std::weak_ptr<ShapeData> d) : d_(std::move(d)) {}
    QString Name() const;
    void SetName(const QString& name);
    float Size() const;
    void SetSize(float points);
private:
    std::weak_ptr<ShapeData> d_;
};

// A run of characters of a shape's text. The whole text's paragraphs are joined by CR LF.
// Font settings apply to the whole text of the shape (one run style per shape).
class TextRangeFormat {
public:
    TextRangeFormat(std::weak_ptr<ShapeData> d, int start, int length)
        : d_(std::move(d)), start_(start), length_(length) {}
    QString Text() const;
    void SetText(const QString& text);
    TextRangeFormat Characters(int start, int length) const; // start is 1-based
    void Select();                                           // becomes the window's selection
    FontFormat Font() const { return FontFormat(d_); }
    int Start() const { return start_; }
    int Length() const { return length_; }
private:
    std::weak_ptr<ShapeData> d_;
    int start_ = 1;
    int length_ = -1; // -1: the whole text
};

class TextFrameFormat {
public:
    explicit TextFrameFormat(std::weak_ptr<ShapeData> d) : d_(std::move(d)) {}
    TextRangeFormat TextRange() const { return TextRangeFormat(d_, 1, -1); }
    int AutoSize() const;
    void SetAutoSize(int mode); // shape-to-fit-text also turns word wrap off
    bool WordWrap() const;
    void SetWordWrap(bool wrap);
private:
    std::weak_ptr<ShapeData> d_;
};

class ConnectorFormatView {
public:
    explicit ConnectorFormatView(std::weak_ptr<ShapeData> d) : d_(std::move(d)) {}
    void BeginConnect(const Shape& target, int site);
    void EndConnect(const Shape& target, int site);
    void BeginDisconnect();
    void EndDisconnect();
    bool BeginConnected() const;
    bool EndConnected() const;
    Shape BeginConnectedShape() const; // HostError when the begin end is loose
    Shape EndConnectedShape() const;   // HostError when the end is loose
    int BeginConnectionSite() const;
    int EndConnectionSite() const;
    Shape Parent() const;
private:
    std::weak_ptr<ShapeData> d_;
};

class Shape {
public:
    Shape() = default; // the empty handle ("nothing")
    explicit Shape(std::weak_ptr<ShapeData> d) : d_(std::move(d)) {}

    bool IsNothing() const { return d_.expired(); }
    // True when the handle's shape is still on a slide of a presentation (using it will not
    // raise for being stale).
    bool IsAlive() const;
    bool operator==(const Shape& other) const;

    int AutoShapeType() const;
    void SetAutoShapeType(int type);
    bool Connector() const; // true for connectors
    QString Name() const;
    void SetName(const QString& name);
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void SetLeft(float v);
    void SetTop(float v);
    void SetWidth(float v);
    void SetHeight(float v);

    FillFormat Fill() const;
    LineFormat Line() const;
    TextFrameFormat TextFrame() const;
    ConnectorFormatView ConnectorFormat() const;
    bool HasTextFrame() const;

    // Connection sites of this shape's geometry, 1-based; 0 sites for connectors.
    int ConnectionSiteCount() const;
    QPointF ConnectionSitePoint(int site) const;

    void RerouteConnections();
    void SetShapesDefaultProperties();
    void Delete();

    Slide Parent() const;

    // Direct access for the host's own layers (persistence, canvas). Raises on a stale handle.
    ShapeData& data() const;
    std::shared_ptr<ShapeData> lock() const;

private:
    std::weak_ptr<ShapeData> d_;
};

} // namespace zov::host
