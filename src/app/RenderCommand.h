#pragma once
// Pictures of slides, drawn by the same slide painter as the desktop canvas: a PDF document with
// one page per slide, or one PNG or SVG file per slide.
#include "host/Presentation.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>

namespace zov::app {

enum class RenderFormat { Pdf, Svg, Png };

struct RenderRequest {
    RenderFormat format = RenderFormat::Png;
    QString output;   // the file to write; with several slides and PNG or SVG, the name pattern
    int slide = 0;    // 1-based; 0 renders every slide
    double dpi = 144; // PNG only: pixels per inch (72 points)
};

// A render that could not be done; the message names the file and the reason.
class RenderError : public std::runtime_error {
public:
    explicit RenderError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }
private:
    QString message_;
};

// The format named by the output file's extension (.pdf, .svg, .png, any letter case); false
// when it names none of them.
bool renderFormatOf(const QString& output, RenderFormat& format);

// The file one slide goes to when the slides of a presentation of several are rendered to PNG or SVG:
// "OUT-N.ext" for OUT.ext and slide number N ("diagram.png", slide 2: "diagram-2.png").
QString slideFileName(const QString& output, int slideIndex);

// Renders and returns the files written, in slide order. Each file is written through a
// temporary file that replaces it only when complete. Raises RenderError for a slide number
// out of range, a presentation without slides, or a file that cannot be written.
// `rendered` is told the number of slides painted so far after each one.
QStringList renderSlides(const host::Presentation& presentation, const RenderRequest& request,
                         const std::function<void(int rendered)>& rendered = {});

} // namespace zov::app
