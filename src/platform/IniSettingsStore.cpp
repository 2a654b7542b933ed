#include "platform/IniSettingsStore.h"

#include <QDir>
#include <QSettings>
#include <QStringList>
#include <memory>

namespace zov::platform {

namespace {

const QString organization = QStringLiteral("ZOVEdit");

std::unique_ptr<QSettings> open(const QString& folder, const QString& application) {
    if (folder.isEmpty())
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organization, application);
    return std::make_unique<QSettings>(QDir(folder).filePath(organization + QLatin1Char('/') + application + QStringLiteral(".ini")),
                                       QSettings::IniFormat);
}

QString groupKey(const QString& section, const QString& key) { return section + QLatin1Char('/') + key; }

} // namespace

QString IniSettingsStore::fileName(const QString& application) const { return open(folder_, application)->fileName(); }

QString IniSettingsStore::value(const QString& application, const QString& section, const QString& key,
                                const QString& fallback) const {
    const auto settings = open(folder_, application);
    const QVariant stored = settings->value(groupKey(section, key));
    if (!stored.isValid())
        return fallback;
    // A hand-edited INI value with an unquoted comma reads back as a list; keep it as one text.
    if (stored.typeId() == QMetaType::QStringList)
        return stored.toStringList().join(QStringLiteral(", "));
    return stored.toString();
}

void IniSettingsStore::setValue(const QString& application, const QString& section, const QString& key,
                                const QString& value) {
    const auto settings = open(folder_, application);
    settings->setValue(groupKey(section, key), value);
    settings->sync();
}

void IniSettingsStore::remove(const QString& application, const QString& section, const QString& key) {
    const auto settings = open(folder_, application);
    settings->remove(groupKey(section, key));
    settings->sync();
}

} // namespace zov::platform
