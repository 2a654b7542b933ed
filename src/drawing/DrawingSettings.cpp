#include "drawing/DrawingSettings.h"

#include <QLocale>
#include <cmath>
#include <limits>
#include <optional>

namespace zov::drawing {

namespace {

namespace keys = settings_keys;

// The integer a stored text stands for: decimal digits with an optional sign, or a decimal
// fraction rounded half to even; surrounding blanks are ignored. None when it is not a number
// or does not fit in T.
template <typename T>
std::optional<T> parseInteger(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = static_cast<double>(trimmed.toLongLong(&ok, 10));
    if (!ok) {
        value = QLocale::c().toDouble(trimmed, &ok);
        if (!ok || !std::isfinite(value))
            return std::nullopt;
        value = std::nearbyint(value); // the default rounding mode rounds half to even
    }
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
        return std::nullopt;
    return static_cast<T>(value);
}

template <typename T>
T readNumber(const platform::SettingsStore& store, const QString& key, T fallback) {
    const QString text = store.value(keys::Application, keys::Section, key, QString::number(fallback));
    return parseInteger<T>(text).value_or(fallback);
}

QString readText(const platform::SettingsStore& store, const QString& key, const QString& fallback) {
    return store.value(keys::Application, keys::Section, key, fallback);
}

} // namespace

DrawingSettings LoadDrawingSettings(const platform::SettingsStore& store) {
    const DrawingSettings defaults;
    DrawingSettings loaded;
    loaded.conceptColor = readNumber(store, keys::ConceptColor, defaults.conceptColor);
    loaded.relationColor = readNumber(store, keys::RelationColor, defaults.relationColor);
    loaded.actorColor = readNumber(store, keys::ActorColor, defaults.actorColor);
    loaded.commentColor = readNumber(store, keys::CommentColor, defaults.commentColor);
    loaded.nodeFontName = readText(store, keys::NodeFontName, defaults.nodeFontName);
    loaded.nodeFontSize = readNumber(store, keys::NodeFontSize, defaults.nodeFontSize);
    loaded.commentFontName = readText(store, keys::CommentFontName, defaults.commentFontName);
    loaded.commentFontSize = readNumber(store, keys::CommentFontSize, defaults.commentFontSize);
    loaded.arrangeImported = readNumber<std::int32_t>(store, keys::ArrangeImported, defaults.arrangeImported ? 1 : 0) != 0;
    return loaded;
}

void SaveDrawingSettings(const DrawingSettings& settings, platform::SettingsStore& store) {
    const auto write = [&](const QString& key, const QString& value) {
        store.setValue(keys::Application, keys::Section, key, value);
    };
    write(keys::ConceptColor, QString::number(settings.conceptColor));
    write(keys::RelationColor, QString::number(settings.relationColor));
    write(keys::ActorColor, QString::number(settings.actorColor));
    write(keys::CommentColor, QString::number(settings.commentColor));
    write(keys::NodeFontName, settings.nodeFontName);
    write(keys::NodeFontSize, QString::number(settings.nodeFontSize));
    write(keys::CommentFontName, settings.commentFontName);
    write(keys::CommentFontSize, QString::number(settings.commentFontSize));
    write(keys::ArrangeImported, settings.arrangeImported ? QStringLiteral("1") : QStringLiteral("0"));
}

platform::Message SaveSettingsQuestion() {
    return platform::Message{
        QStringLiteral("Do you want to save your configuration changes\r\nas defaults for the next session?"),
        QStringLiteral("ZOVEdit"), platform::MessageIcon::None, platform::MessageButtons::YesNo, 1};
}

bool OfferToSaveSettings(const DrawingSettings& current, platform::SettingsStore& store,
                         platform::MessageBoxes& boxes) {
    if (current == LoadDrawingSettings(store))
        return false;
    if (boxes.show(SaveSettingsQuestion()) != platform::MessageAnswer::Yes)
        return false;
    SaveDrawingSettings(current, store);
    return true;
}

} // namespace zov::drawing
