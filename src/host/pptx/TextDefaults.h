#pragma once
// What a shape inherits when its own XML leaves font, colour or place open: the theme's fonts
// and colour scheme, the presentation's default text style, and the boxes of the placeholders
// on the slide's layout and master.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <vector>

namespace zov::host::pptx {

// A placeholder on a layout or master: its type ("title", "body", ...; empty when the file
// leaves it to the default), its index (-1 when none), and its box in points when it has one.
struct PlaceholderBox {
    QString type;
    int idx = -1;
    bool hasBox = false;
    float left = 0, top = 0, width = 0, height = 0;
    // Its list style's first-level run defaults: 0 and empty when it gives none.
    float fontSize = 0;
    QString fontFace; // as written ("+mj-lt" names the theme's headings font)
};

struct TextDefaults {
    QString fontName = QStringLiteral("Arial");
    float fontSize = 18;
    QString majorFont;
    QString minorFont;
    QHash<QString, std::uint32_t> schemeColours; // dk1, lt1, accent1, ... as 0x00BBGGRR

    // "+mn-lt" and "+mj-lt" name the theme fonts.
    QString resolveTypeface(const QString& typeface) const;
    // Scheme colour names as the default colour map sees them (tx1 = dk1, bg1 = lt1, ...).
    bool schemeColour(const QString& name, std::uint32_t& bgr) const;

    // The run defaults of title and body placeholders: the master's title and body styles
    // (0 and empty where the master gives none).
    float titleFontSize = 0, bodyFontSize = 0;
    QString titleFontName, bodyFontName;
    // The size and font a shape's text takes when its runs and list name none. A placeholder's
    // come from its layout placeholder's list style, else its master placeholder's, else the
    // master's title style (a title) or body style (content); any other shape's from the
    // defaults above.
    struct RunFont {
        float size = 0;
        QString name;
    };
    RunFont runFontFor(bool placeholder, const QString& type, int idx) const;

    // The placeholders of the slide's layout and of its master, in document order.
    std::vector<PlaceholderBox> layoutPlaceholders, masterPlaceholders;
    // The box a slide placeholder of this type and index inherits: the layout placeholder with
    // the same index (or, without an index, the same type), else the master placeholder of the
    // same kind (title, body, date, footer, slide number). Null when neither has a box.
    const PlaceholderBox* inheritedBox(const QString& type, int idx) const;

private:
    // The layout placeholder a slide placeholder of this type and index follows, and the master
    // placeholder of the same kind; null where there is none.
    const PlaceholderBox* layoutPlaceholder(const QString& type, int idx) const;
    const PlaceholderBox* masterPlaceholder(const QString& type, int idx) const;
};

// Every placeholder shape on a layout or master part (none when the part cannot be read).
std::vector<PlaceholderBox> readPlaceholderBoxes(const QByteArray& xml, const QString& partName);

// The defaults for shapes on slides under one master: theme fonts and colours, and the
// first-level run defaults (size, typeface) of the presentation's default text style,
// overridden by the master's otherStyle. Any of the parts may be missing; a part that cannot be
// read leaves the built-in defaults (Arial 18 pt) in place rather than failing the file.
TextDefaults buildTextDefaults(const QByteArray* theme, const QByteArray* master, const QByteArray* presentation);

// Reads the theme's fonts and colours.
void readTheme(const QByteArray& xml, const QString& partName, TextDefaults& defaults);
// Reads the first-level default run properties (size, latin typeface) under an element whose
// local name is listStyleName (otherStyle of a master, defaultTextStyle of a presentation).
// Returns true when anything was found; fills only what is present.
bool readDefaultRunProperties(const QByteArray& xml, const QString& partName, QLatin1StringView listStyleName,
                              float& size, QString& typeface);

} // namespace zov::host::pptx
