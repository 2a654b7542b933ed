#pragma once
// The per-user drawing settings: the fill colour of each kind of node shape (0x00BBGGRR), the
// font of node labels and of comments, and whether the Import arranges graphs that come without
// positions. They are kept in the settings store under application "ZOVEdit", section "Startup",
// one key per field, every value as text.
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"

#include <QString>
#include <cstdint>

namespace zov::drawing {

struct DrawingSettings {
    std::int32_t conceptColor = 0x00C0FFFF;  // light yellow
    std::int32_t relationColor = 0x0080FF80; // light green
    std::int32_t actorColor = 0x000080FF;    // orange
    std::int32_t commentColor = 0x00FFFFD0;  // pale cyan
    QString nodeFontName = QStringLiteral("Arial");
    std::int16_t nodeFontSize = 18;
    QString commentFontName = QStringLiteral("Arial");
    std::int16_t commentFontSize = 12;
    // The palette's Import lays out each graph whose nodes come without any position, as
    // `zovedit import` does, instead of piling them up in the slide's corner.
    bool arrangeImported = true;

    // Font names compare exactly, letter case included.
    bool operator==(const DrawingSettings&) const = default;
};

namespace settings_keys {
inline const QString Application = QStringLiteral("ZOVEdit");
inline const QString Section = QStringLiteral("Startup");
inline const QString ConceptColor = QStringLiteral("ConceptColor");
inline const QString RelationColor = QStringLiteral("RelationColor");
inline const QString ActorColor = QStringLiteral("ActorColor");
inline const QString CommentColor = QStringLiteral("CommentColor");
inline const QString NodeFontName = QStringLiteral("NodeFontName");
inline const QString NodeFontSize = QStringLiteral("NodeFontSize");
inline const QString CommentFontName = QStringLiteral("CommentFontName");
inline const QString CommentFontSize = QStringLiteral("CommentFontSize");
inline const QString ArrangeImported = QStringLiteral("ArrangeImported"); // "1" on, "0" off
} // namespace settings_keys

// Reads the settings; an absent key, or a colour or size whose text is not a number that fits
// the field, gives the field's default; ArrangeImported is off for a whole number 0, on for any
// other whole number, else its default (on). Nothing is written back.
DrawingSettings LoadDrawingSettings(const platform::SettingsStore& store);

// Writes every field, in key order, as decimal text (numbers, "1"/"0" for the switch) or as
// they are (names).
void SaveDrawingSettings(const DrawingSettings& settings, platform::SettingsStore& store);

// Run when the palette closes: when `current` differs from what the store holds (read as
// LoadDrawingSettings reads it), asks whether to keep the changes and saves them all on Yes.
// Returns true when it saved.
bool OfferToSaveSettings(const DrawingSettings& current, platform::SettingsStore& store,
                         platform::MessageBoxes& boxes);

// The question OfferToSaveSettings asks.
platform::Message SaveSettingsQuestion();

} // namespace zov::drawing
