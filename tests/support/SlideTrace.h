#pragma once
// What a user can see change in a presentation, as lines of text, for the transcripts of the
// editor's and the palette's scripts (docs/testing.md): slides added or renamed, shapes added,
// changed or gone, the message boxes shown.
#include "host/AutoShapeType.h"
#include "host/Presentation.h"
#include "platform/MessageBox.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace zov::test {

// A name with its eight-letter node id shown as ID.
inline QString IdFree(QString name) {
    static const QRegularExpression id(QStringLiteral("[A-Z]{8}$"));
    return name.replace(id, QStringLiteral("ID"));
}

inline QString Bracketed(const host::Shape& shape) { return u'[' + shape.TextFrame().TextRange().Text() + u']'; }

// A node as "TYPE NAME COLOUR [TEXT]", then " fixed" when the shape does not grow to fit its text; a connector as "arc [FROM] -> [TO]" ("line" without an
// arrowhead, "-" for a loose end).
inline QString Describe(const host::Shape& s) {
    if (s.Connector()) {
        const auto f = s.ConnectorFormat();
        return (s.Line().EndArrowheadStyle() == host::ArrowheadTriangle ? QStringLiteral("arc ") : QStringLiteral("line ")) +
               (f.BeginConnected() ? Bracketed(f.BeginConnectedShape()) : QStringLiteral("-")) + QStringLiteral(" -> ") +
               (f.EndConnected() ? Bracketed(f.EndConnectedShape()) : QStringLiteral("-"));
    }
    return QString::number(s.AutoShapeType()) + u' ' + IdFree(s.Name()) + u' ' +
           QString::number(s.Fill().ForeColor().RGB(), 16).rightJustified(6, u'0').toUpper() + u' ' + Bracketed(s) +
           (s.TextFrame().AutoSize() == host::AutoSizeShapeToFitText ? QString() : QStringLiteral(" fixed"));
}

struct SlideState {
    host::Slide slide;
    QString name;
    std::vector<std::pair<host::Shape, QString>> shapes;
};

inline std::vector<SlideState> StateOf(const host::Presentation& presentation) {
    std::vector<SlideState> state;
    for (int i = 1; !presentation.IsNothing() && i <= presentation.Slides().Count(); ++i) {
        const host::Slide slide = presentation.Slides().Item(i);
        SlideState s{slide, slide.Name(), {}};
        for (int j = 1; j <= slide.Shapes().Count(); ++j)
            s.shapes.emplace_back(slide.Shapes().Item(j), Describe(slide.Shapes().Item(j)));
        state.push_back(std::move(s));
    }
    return state;
}

// New slides ("slide NAME [TITLE]", then their other shapes indented; the title is the first
// shape when it is a title label, type 19), renamed slides, and the shapes added, changed ("now")
// or gone on the slides that were there.
inline void TraceChanges(const std::vector<SlideState>& before, const std::vector<SlideState>& after, QStringList& trace) {
    for (const SlideState& s : after) {
        const auto old = std::find_if(before.begin(), before.end(), [&](const SlideState& b) { return b.slide == s.slide; });
        if (old == before.end()) {
            const bool titled = !s.shapes.empty() && s.shapes[0].first.AutoShapeType() == 19;
            trace << QStringLiteral("slide ") + s.name + u' ' + (titled ? Bracketed(s.shapes[0].first) : QStringLiteral("[]"));
            for (std::size_t i = titled ? 1 : 0; i < s.shapes.size(); ++i)
                trace << QStringLiteral("  ") + s.shapes[i].second;
            continue;
        }
        if (old->name != s.name)
            trace << QStringLiteral("slide ") + old->name + QStringLiteral(" renamed ") + s.name;
        for (const auto& [shape, text] : s.shapes) {
            const auto was = std::find_if(old->shapes.begin(), old->shapes.end(), [&](const auto& o) { return o.first == shape; });
            if (was == old->shapes.end())
                trace << text;
            else if (was->second != text)
                trace << QStringLiteral("now ") + text;
        }
        for (const auto& [shape, text] : old->shapes)
            if (std::none_of(s.shapes.begin(), s.shapes.end(), [&](const auto& n) { return n.first == shape; }))
                trace << QStringLiteral("gone ") + text;
    }
}

// "box ICON TITLE: TEXT" for each message box.
inline void TraceMessages(const std::vector<platform::Message>& shown, QStringList& trace) {
    for (const platform::Message& m : shown)
        trace << QStringLiteral("box ") +
                     (m.icon == platform::MessageIcon::Critical      ? QStringLiteral("critical ")
                      : m.icon == platform::MessageIcon::Information ? QStringLiteral("information ")
                                                                       : QStringLiteral("other ")) +
                     m.title + QStringLiteral(": ") + m.text;
}

} // namespace zov::test
