// `zovedit render`: slides as PDF, SVG or PNG, painted exactly as the desktop canvas paints them.
#include "app/RenderCommand.h"

#include "app/BatchArguments.h"

#include "app/BatchPresentation.h"
#include "app/BatchCommands.h"
#include "app/render/SlidePainter.h"
#include "platform/ConsoleMessageBoxes.h"
#include "platform/OutputFile.h"
#include "platform/StatusLine.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>
#include <optional>

namespace zov::app {

namespace {

const QString Command = QStringLiteral("render");
constexpr double PointsPerInch = 72;
constexpr double MinDpi = 18;
constexpr double MaxDpi = 1200;
// The largest PNG drawn, in pixels: its raster is held in memory whole (4 bytes a pixel).
constexpr qint64 MaxPngPixels = 100000000;
// Qt's PNG writer turns quality into the deflate level (80: level 1).
constexpr int PngQuality = 80;
// PDF device units per inch: fine enough that nothing is rounded visibly.
constexpr int PdfResolution = 1200;

QString cannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot write \"%1\": %2").arg(path, reason);
}

// A drawing gathered in memory and written out whole when complete: a regular file is replaced
// only then (a failure leaves the old one), a device or FIFO is written directly.
class OutputFile {
public:
    explicit OutputFile(const QString& path) : path_(path) { buffer_.open(QIODevice::WriteOnly); }
    QIODevice* device() { return &buffer_; }
    void commit() {
        buffer_.close();
        try {
            platform::OutputFile file(path_);
            file.Write(buffer_.data());
            file.Commit();
        } catch (const platform::FileError& error) {
            throw RenderError(error.reason().isEmpty() ? error.message() : cannotWrite(path_, error.reason()));
        }
    }
private:
    QString path_;
    QBuffer buffer_;
};

QSizeF pageOf(const host::Presentation& presentation) {
    const host::PageSetup setup = presentation.PageSetup();
    return {std::max(1.0f, setup.SlideWidth()), std::max(1.0f, setup.SlideHeight())};
}

QSize pixelsOf(QSizeF page, double dpi) {
    const double scale = dpi / PointsPerInch;
    return {std::max(1, static_cast<int>(std::lround(page.width() * scale))),
            std::max(1, static_cast<int>(std::lround(page.height() * scale)))};
}

qint64 pixelCount(QSize size) {
    return qint64(size.width()) * size.height();
}

// A PNG larger than the bound is refused before anything is drawn, naming the dpi that fits.
void checkPixelBound(const host::Presentation& presentation, QSizeF page, double dpi) {
    const QSize pixels = pixelsOf(page, dpi);
    if (pixelCount(pixels) <= MaxPngPixels)
        return;
    int fits = static_cast<int>(std::floor(dpi * std::sqrt(double(MaxPngPixels) / double(pixelCount(pixels)))));
    while (fits > 1 && pixelCount(pixelsOf(page, fits)) > MaxPngPixels)
        --fits;
    // A slide so large that not even the lowest --dpi fits is left to PDF or SVG.
    const QString remedy = fits >= MinDpi ? QStringLiteral("--dpi %1 or less fits").arg(fits)
                                          : QStringLiteral("no --dpi fits; render it as PDF or SVG");
    throw RenderError(QStringLiteral("Cannot render \"%1\": at %2 dpi a slide would be %3 x %4 pixels, more than the "
                                     "limit of %5 megapixels; ")
                          .arg(presentation.FullName())
                          .arg(dpi)
                          .arg(pixels.width())
                          .arg(pixels.height())
                          .arg(MaxPngPixels / 1000000) +
                      remedy);
}

void writePng(const host::SlideData& slide, QSizeF page, double dpi, const QString& path) {
    const double scale = dpi / PointsPerInch;
    const QSize pixels = pixelsOf(page, dpi);
    QImage image(pixels, QImage::Format_RGB32); // opaque: the page is white, and PNG writes it faster
    if (image.isNull())
        throw RenderError(cannotWrite(path, QStringLiteral("not enough memory for a %1 x %2 pixel image")
                                                .arg(pixels.width())
                                                .arg(pixels.height())));
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    {
        QPainter painter(&image);
        painter.scale(scale, scale);
        painter.setClipRect(QRectF(QPointF(0, 0), page));
        render::SlidePainter().paintSlide(painter, slide);
    }
    OutputFile out(path);
    QImageWriter writer(out.device(), "png");
    // A light deflate level: files a few percent larger, written about a third faster.
    writer.setQuality(PngQuality);
    if (!writer.write(image))
        throw RenderError(cannotWrite(path, writer.errorString()));
    out.commit();
}

void writeSvg(const host::SlideData& slide, QSizeF page, const QString& title, const QString& path) {
    OutputFile out(path);
    QSvgGenerator generator;
    generator.setOutputDevice(out.device());
    generator.setResolution(static_cast<int>(PointsPerInch));
    generator.setSize(QSize(static_cast<int>(std::ceil(page.width())), static_cast<int>(std::ceil(page.height()))));
    generator.setViewBox(QRectF(QPointF(0, 0), page));
    // The SVG writer puts the title into the file as it stands: a slide named "Q&A" would make
    // the file no XML at all.
    generator.setTitle(title.toHtmlEscaped());
    generator.setDescription(QStringLiteral("Drawn by ZOVEdit"));
    {
        QPainter painter;
        if (!painter.begin(&generator))
            throw RenderError(cannotWrite(path, QStringLiteral("the SVG writer could not start")));
        painter.setClipRect(QRectF(QPointF(0, 0), page));
        render::SlidePainter().paintSlide(painter, slide);
        painter.end();
    }
    out.commit();
}

void writePdf(const host::Presentation& presentation, const std::vector<int>& slides, QSizeF page,
              const QString& path, const std::function<void(int)>& rendered) {
    OutputFile out(path);
    QPdfWriter writer(out.device());
    writer.setCreator(QStringLiteral("ZOVEdit"));
    writer.setTitle(QFileInfo(presentation.FullName()).completeBaseName());
    writer.setResolution(PdfResolution);
    writer.setPageSize(QPageSize(page, QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer))
        throw RenderError(cannotWrite(path, QStringLiteral("the PDF writer could not start")));
    render::SlidePainter slidePainter;
    const double scale = PdfResolution / PointsPerInch;
    for (std::size_t i = 0; i < slides.size(); ++i) {
        if (i > 0 && !writer.newPage()) {
            painter.end();
            throw RenderError(cannotWrite(path, QStringLiteral("the PDF writer could not add a page")));
        }
        painter.save();
        painter.scale(scale, scale);
        painter.setClipRect(QRectF(QPointF(0, 0), page));
        slidePainter.paintSlide(painter, presentation.Slides().Item(slides[i]).data());
        painter.restore();
        if (rendered)
            rendered(static_cast<int>(i) + 1);
    }
    painter.end();
    out.commit();
}

struct RenderArguments {
    QString input;
    RenderRequest request;
};

std::optional<RenderArguments> parseRenderArguments(const QStringList& args, QString& problem) {
    RenderArguments parsed;
    bool haveOutput = false, haveSlide = false, haveDpi = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("-o") || arg == QLatin1String("--slide") || arg == QLatin1String("--dpi")) {
            bool& seen = arg == QLatin1String("-o") ? haveOutput : arg == QLatin1String("--slide") ? haveSlide : haveDpi;
            if (seen) {
                problem = arg + QStringLiteral(" given twice");
                return std::nullopt;
            }
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                problem = arg == QLatin1String("-o") ? QStringLiteral("-o needs a file name (OUT.pdf, OUT.svg or OUT.png)")
                                                     : arg + QStringLiteral(" needs a number");
                return std::nullopt;
            }
            const QString value = args[++i];
            seen = true;
            if (arg == QLatin1String("-o")) {
                parsed.request.output = value;
                continue;
            }
            bool ok = false;
            if (arg == QLatin1String("--slide")) {
                parsed.request.slide = value.toInt(&ok);
                if (!ok || parsed.request.slide < 1) {
                    problem = QStringLiteral("--slide needs a slide number from 1, not ") + value;
                    return std::nullopt;
                }
            } else {
                parsed.request.dpi = value.toDouble(&ok);
                if (!ok || !(parsed.request.dpi >= MinDpi && parsed.request.dpi <= MaxDpi)) {
                    problem = QStringLiteral("--dpi needs a number from %1 to %2, not ").arg(MinDpi).arg(MaxDpi) + value;
                    return std::nullopt;
                }
            }
            continue;
        }
        if (!takeInputArgument(arg, parsed.input, problem))
            return std::nullopt;
    }
    if (missingInput(parsed.input, QStringLiteral("IN.pptx"), problem))
        return std::nullopt;
    if (!haveOutput) {
        problem = QStringLiteral("no output file (-o OUT.pdf, OUT.svg or OUT.png)");
        return std::nullopt;
    }
    if (parsed.request.output == QLatin1String("-")) {
        problem = QStringLiteral("render writes files, not standard output");
        return std::nullopt;
    }
    if (platform::SameFile(parsed.request.output, parsed.input)) {
        problem = QStringLiteral("the output ") + parsed.request.output + QStringLiteral(" would replace the input");
        return std::nullopt;
    }
    if (!renderFormatOf(parsed.request.output, parsed.request.format)) {
        problem = QStringLiteral("the output ") + parsed.request.output +
                  QStringLiteral(" names no known format (.pdf, .svg or .png)");
        return std::nullopt;
    }
    if (haveDpi && parsed.request.format != RenderFormat::Png) {
        problem = QStringLiteral("--dpi is for PNG output only");
        return std::nullopt;
    }
    return parsed;
}

} // namespace

bool renderFormatOf(const QString& output, RenderFormat& format) {
    const QString suffix = QFileInfo(output).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        format = RenderFormat::Pdf;
    else if (suffix == QLatin1String("svg"))
        format = RenderFormat::Svg;
    else if (suffix == QLatin1String("png"))
        format = RenderFormat::Png;
    else
        return false;
    return true;
}

QString slideFileName(const QString& output, int slideIndex) {
    const QString suffix = QFileInfo(output).suffix();
    const QString stem = suffix.isEmpty() ? output : output.chopped(suffix.size() + 1);
    return stem + u'-' + QString::number(slideIndex) + (suffix.isEmpty() ? QString() : u'.' + suffix);
}

QStringList renderSlides(const host::Presentation& presentation, const RenderRequest& request,
                         const std::function<void(int rendered)>& rendered) {
    const int count = presentation.Slides().Count();
    if (count == 0)
        throw RenderError(QStringLiteral("Cannot render \"%1\": the presentation has no slides")
                              .arg(presentation.FullName()));
    if (request.slide > count)
        throw RenderError(QStringLiteral("Cannot render slide %1 of \"%2\": the presentation has %3 slide%4")
                              .arg(request.slide)
                              .arg(presentation.FullName())
                              .arg(count)
                              .arg(count == 1 ? QString() : QStringLiteral("s")));
    std::vector<int> slides;
    if (request.slide > 0) {
        slides.push_back(request.slide);
    } else {
        for (int i = 1; i <= count; ++i)
            slides.push_back(i);
    }

    const QSizeF page = pageOf(presentation);
    QStringList written;
    if (request.format == RenderFormat::Pdf) {
        writePdf(presentation, slides, page, request.output, rendered);
        written << request.output;
        return written;
    }
    const double dpi = std::clamp(request.dpi, MinDpi, MaxDpi);
    if (request.format == RenderFormat::Png)
        checkPixelBound(presentation, page, dpi);
    // Several slides go to files numbered after OUT; one slide (chosen, or the only one) to OUT.
    const bool numbered = slides.size() > 1;
    for (int index : slides) {
        const QString path = numbered ? slideFileName(request.output, index) : request.output;
        const host::Slide slide = presentation.Slides().Item(index);
        if (request.format == RenderFormat::Png)
            writePng(slide.data(), page, dpi, path);
        else
            writeSvg(slide.data(), page, slide.Name().isEmpty() ? QStringLiteral("Slide %1").arg(index) : slide.Name(), path);
        written << path;
        if (rendered)
            rendered(static_cast<int>(written.size()));
    }
    return written;
}

int runRender(const QStringList& args) {
    QString problem;
    const std::optional<RenderArguments> parsed = parseRenderArguments(args, problem);
    if (!parsed)
        return usageError(Command, problem);

    platform::ConsoleMessageBoxes messages;
    // A long run tells what it is doing on a status line, as the other commands do.
    platform::StatusLine& status = messages.status();
    status.Show(QStringLiteral("Opening ") + statusName(parsed->input));
    host::Application app;
    const std::optional<host::Presentation> presentation = openBatchPresentation(app, parsed->input, messages);
    if (!presentation)
        return 2;
    const int slides = parsed->request.slide > 0 ? 1 : presentation->Slides().Count();
    status.Show(QStringLiteral("Rendering the slides"));
    platform::PercentProgress rendering(status, QStringLiteral("Rendering the slides"), slides);
    try {
        renderSlides(*presentation, parsed->request, [&rendering](int done) { rendering.Advance(done); });
    } catch (const RenderError& error) {
        messages.inform(error.message(), QStringLiteral("Error"), platform::MessageIcon::Critical);
        return 2;
    }
    return 0;
}

} // namespace zov::app
