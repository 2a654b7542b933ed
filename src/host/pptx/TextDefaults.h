#pragma once
// What a shape inherits when its own XML leaves font or colour open: the theme's fonts and
// colour scheme and the presentation's default text style.
#include <QHash>
#include <QString>
#include <cstdint>

namespace zov::host::pptx {

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
};

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
