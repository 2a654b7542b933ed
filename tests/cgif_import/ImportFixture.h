#pragma once
// A session for import tests: a host with one new presentation, default drawing settings,
// recorded message boxes, a seeded id sequence, the slide builder and the reader.
#include "cgif/import/GraphBuilder.h"
#include "cgif/reader/CgifReader.h"
#include "drawing/DrawingSettings.h"
#include "drawing/NodeId.h"
#include "host/Application.h"
#include "platform/TextStream.h"
#include "platform/fake/FakeMessageBoxes.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>

// Readable failure output for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        *out << (i > 0 ? ", \"" : "\"") << list[i].toStdString() << '"';
    *out << '}';
}

namespace zov::cgif::test {

// Everything one import needs; tests that compare several imports make several sessions.
class ImportSession {
public:
    ImportSession() {
        app.Presentations().Add();
        reader.SetGraphNameTaken([this](const QString& name) { return builder.SlideNameInUse(name); });
    }
    ImportSession(const ImportSession&) = delete;
    ImportSession& operator=(const ImportSession&) = delete;

    bool read(const QString& text) {
        const auto stream = platform::StringTextStream(text);
        return reader.ReadCgifStream(*stream);
    }

    host::Slides slides() const { return app.ActivePresentation().Slides(); }
    host::Slide slide(int index) const { return slides().Item(index); }
    QStringList slideNames() const {
        QStringList names;
        for (int i = 1; i <= slides().Count(); ++i)
            names << slide(i).Name();
        return names;
    }

    static QString textOf(const host::Shape& shape) {
        return shape.HasTextFrame() ? shape.TextFrame().TextRange().Text() : QString();
    }

    // One line per shape, in creation order: "type text" for nodes and the title label,
    // "arc FROM>TO" (the texts of the glued shapes) for connectors.
    static QStringList describe(const host::Slide& slide) {
        QStringList lines;
        for (int i = 1; i <= slide.Shapes().Count(); ++i) {
            const host::Shape shape = slide.Shapes().Item(i);
            if (shape.Connector()) {
                const auto glue = shape.ConnectorFormat();
                lines << QStringLiteral("arc ") + textOf(glue.BeginConnectedShape()) + u'>' +
                             textOf(glue.EndConnectedShape());
            } else {
                lines << QString::number(shape.AutoShapeType()) + u' ' + textOf(shape);
            }
        }
        return lines;
    }

    // The first node shape of the slide with this text; the empty handle when there is none.
    static host::Shape shapeWithText(const host::Slide& slide, const QString& text) {
        for (int i = 1; i <= slide.Shapes().Count(); ++i) {
            const host::Shape shape = slide.Shapes().Item(i);
            if (!shape.Connector() && textOf(shape) == text)
                return shape;
        }
        return host::Shape();
    }

    QStringList messageLines() const {
        QStringList lines;
        for (const platform::Message& message : messages.shown())
            lines << message.title + QStringLiteral(": ") + message.text;
        return lines;
    }

    host::Application app;
    drawing::DrawingSettings settings;
    platform::FakeMessageBoxes messages;
    drawing::NodeIdGenerator ids{7};
    SlideBuilder builder{app, settings, messages};
    CgifReader reader{ids, messages, builder};
};

class ImportFixture : public ::testing::Test, public ImportSession {};

} // namespace zov::cgif::test
