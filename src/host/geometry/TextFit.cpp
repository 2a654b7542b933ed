#include "host/geometry/TextFit.h"

#include "host/AutoShapeType.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <memory>

namespace zov::host {

namespace {

// The callout's rounded corners: radius = 16667/100000 of the shorter side, and the text
// rectangle is inset by radius * (1 - cos 45) on every side.
constexpr double kCalloutInset = 0.16667 * 0.29289;
constexpr double kEllipseShare = 0.70711; // the inscribed rectangle of an ellipse
// The pentagon ("home plate"): its point is half the shorter side deep, and its text rectangle
// ends halfway into the point, a quarter of the shorter side short of the right edge.
constexpr double kHomePlateTextCut = 0.25;
constexpr std::size_t kMaxCachedFonts = 32;

// A 72 dpi device, so that metrics come out in points.
const QPaintDevice& pointDevice(QImage& image)
{
    image = QImage(1, 1, QImage::Format_ARGB32);
    image.setDotsPerMeterX(2835); // 72.009 dpi, reported as 72
    image.setDotsPerMeterY(2835);
    return image;
}

} // namespace

TextMeasurer::TextMeasurer()
{
    haveFonts_ = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (haveFonts_) // "Arial" measures as its metric-compatible free twin
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

const QFontMetricsF* TextMeasurer::metricsFor(const QString& family, float pointSize)
{
    for (const auto& e : entries_)
        if (e.size == pointSize && e.family == family)
            return &e.metrics;
    if (entries_.size() >= kMaxCachedFonts)
        entries_.erase(entries_.begin());
    QFont font(family);
    font.setPointSizeF(pointSize > 0 ? pointSize : 1);
    font.setHintingPreference(QFont::PreferNoHinting);
    QImage device;
    entries_.push_back({family, pointSize, QFontMetricsF(font, &pointDevice(device))});
    return &entries_.back().metrics;
}

QSizeF TextMeasurer::measure(const QStringList& paragraphs, const QString& family, float pointSize)
{
    const QFontMetricsF* fm = haveFonts_ ? metricsFor(family, pointSize) : nullptr;
    double width = 0;
    int lines = 0;
    auto measureLine = [&](QStringView line) {
        ++lines;
        const double w = fm ? fm->horizontalAdvance(line.toString()) : 0.5 * pointSize * line.size();
        width = std::max(width, w);
    };
    for (const QString& paragraph : paragraphs)
        for (QStringView line : QStringView(paragraph).split(u'\v'))
            measureLine(line);
    if (lines == 0)
        measureLine(QStringView());
    const double lineHeight = fm ? fm->lineSpacing() : 1.15 * pointSize;
    return {width, lines * lineHeight};
}

double TextMeasurer::wrappedHeight(const QStringList& paragraphs, const QString& family, float pointSize, double width)
{
    const QFontMetricsF* fm = haveFonts_ ? metricsFor(family, pointSize) : nullptr;
    const double lineHeight = fm ? fm->lineSpacing() : 1.15 * pointSize;
    width = std::max(width, 1.0);
    int lines = 0;
    const auto wrapLine = [&](QStringView line) {
        if (fm == nullptr) {
            const double perLine = std::max(1.0, std::floor(width / (0.5 * pointSize)));
            lines += std::max(1, static_cast<int>(std::ceil(line.size() / perLine)));
            return;
        }
        const QRectF box = fm->boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, line.toString());
        lines += std::max(1, static_cast<int>(std::lround(box.height() / lineHeight)));
    };
    for (const QString& paragraph : paragraphs)
        for (QStringView line : QStringView(paragraph).split(u'\v'))
            wrapLine(line);
    if (lines == 0)
        lines = 1;
    return lines * lineHeight;
}

QSizeF textRectFraction(const ShapeData& shape)
{
    if (shape.kind == ShapeKind::TextBox)
        return {1, 1};
    switch (shape.autoShapeType) {
    case ShapeDiamond:
    case ShapeFlowchartDecision:
        return {0.5, 0.5};
    case ShapeOval:
    case ShapeNoSymbol:
        return {kEllipseShare, kEllipseShare};
    case ShapeRoundedRectangularCallout:
        return {1, 1 - 2 * kCalloutInset}; // when the shape is wider than tall
    default:
        return {1, 1};
    }
}

QSizeF shapeSizeForText(const ShapeData& shape, QSizeF textSize)
{
    const double innerW = textSize.width() + shape.marginLeft + shape.marginRight;
    const double innerH = textSize.height() + shape.marginTop + shape.marginBottom;
    if (shape.kind != ShapeKind::TextBox && shape.autoShapeType == ShapeRoundedRectangularCallout) {
        // The inset depends on the shorter side: try "wider than tall" first.
        const double k = 2 * kCalloutInset;
        double h = innerH / (1 - k);
        double w = innerW + k * h;
        if (w < h) {
            w = innerW / (1 - k);
            h = innerH + k * w;
        }
        return {w, h};
    }
    if (shape.kind != ShapeKind::TextBox && shape.autoShapeType == ShapePentagon) {
        // The cut depends on the shorter side: the height, unless the shape comes out taller.
        const double h = innerH;
        const double w = innerW + kHomePlateTextCut * h;
        return {w >= h ? w : innerW / (1 - kHomePlateTextCut), h};
    }
    const QSizeF share = textRectFraction(shape);
    return {innerW / share.width(), innerH / share.height()};
}

bool fitShapeToText(ShapeData& shape)
{
    if (shape.autoSize != AutoSizeShapeToFitText || !shape.hasTextFrame || shape.kind == ShapeKind::Connector)
        return false;
    PresentationData* presentation = shape.slide ? shape.slide->presentation : nullptr;
    std::shared_ptr<TextMeasurer> measurer;
    if (presentation) {
        if (!presentation->textMeasurer)
            presentation->textMeasurer = std::make_shared<TextMeasurer>();
        measurer = presentation->textMeasurer;
    } else {
        measurer = std::make_shared<TextMeasurer>();
    }
    QSizeF size;
    if (shape.wordWrap) {
        // A frame that wraps its words keeps its width, and its lines wrap within it.
        const QSizeF share = textRectFraction(shape);
        const double textWidth = shape.width * share.width() - shape.marginLeft - shape.marginRight;
        const double textHeight = measurer->wrappedHeight(shape.paragraphs, shape.fontName, shape.fontSize, textWidth);
        size = {shape.width, (textHeight + shape.marginTop + shape.marginBottom) / share.height()};
    } else {
        size = shapeSizeForText(shape, measurer->measure(shape.paragraphs, shape.fontName, shape.fontSize));
    }
    const auto w = static_cast<float>(size.width()), h = static_cast<float>(size.height());
    if (w == shape.width && h == shape.height)
        return false;
    shape.width = w;
    shape.height = h;
    return true;
}

} // namespace zov::host
