#include "addin/AddinRegistry.h"

#include <QSettings>
#include <cstdio>

namespace zov::addin {

namespace {

QString entryKey(const QString& progId) { return AddinsKey + QLatin1Char('\\') + progId; }

// QSettings separates sub keys with "/"; the host's own spelling uses "\".
QString settingsKey(const QString& key) {
    QString result = key;
    result.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return result;
}

} // namespace

AddinRegistration ZovEditRegistration() {
    return AddinRegistration{QStringLiteral("ZOVEdit.Connect"), QStringLiteral("ZOV Edit"),
                             QStringLiteral("Conceptual Graph Editor"), LoadConnectFirstTime};
}

namespace {

int finish(const AddinRegistry& registry, const char* what) {
    const QString error = registry.LastError();
    if (error.isEmpty())
        return 0;
    std::fprintf(stderr, "zovedit %s: %s\n", what, qPrintable(error));
    return 2;
}

} // namespace

int RegisterZovEdit(AddinRegistry& registry) {
    registry.Register(ZovEditRegistration());
    return finish(registry, "--register");
}

int UnregisterZovEdit(AddinRegistry& registry) {
    registry.Unregister(ZovEditRegistration().progId);
    return finish(registry, "--unregister");
}

AddinRegistry::AddinRegistry()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZOVEdit"),
                                            QStringLiteral("Host"))) {}

AddinRegistry::AddinRegistry(const QString& fileName)
    : settings_(std::make_unique<QSettings>(fileName, QSettings::IniFormat)) {}

AddinRegistry::~AddinRegistry() = default;

QString AddinRegistry::FileName() const { return settings_->fileName(); }

QString AddinRegistry::LastError() const {
    switch (settings_->status()) {
    case QSettings::NoError:
        return QString();
    case QSettings::AccessError:
        return QStringLiteral("the host's settings file %1 cannot be written").arg(settings_->fileName());
    case QSettings::FormatError:
        return QStringLiteral("the host's settings file %1 is damaged").arg(settings_->fileName());
    }
    return QStringLiteral("the host's settings file %1 cannot be used").arg(settings_->fileName());
}

void AddinRegistry::Register(const AddinRegistration& registration) {
    const QString key = settingsKey(entryKey(registration.progId));
    settings_->setValue(key + QStringLiteral("/FriendlyName"), registration.friendlyName);
    settings_->setValue(key + QStringLiteral("/Description"), registration.description);
    settings_->setValue(key + QStringLiteral("/LoadBehavior"), registration.loadBehavior);
    settings_->sync();
}

void AddinRegistry::Unregister(const QString& progId) {
    settings_->remove(settingsKey(entryKey(progId)));
    settings_->sync();
}

std::optional<AddinRegistration> AddinRegistry::Find(const QString& progId) const {
    const QString key = settingsKey(entryKey(progId));
    settings_->sync(); // another process (zovedit --register) may have changed the file
    if (!settings_->contains(key + QStringLiteral("/LoadBehavior")) &&
        !settings_->contains(key + QStringLiteral("/FriendlyName")))
        return std::nullopt;
    AddinRegistration r;
    r.progId = progId;
    r.friendlyName = settings_->value(key + QStringLiteral("/FriendlyName")).toString();
    r.description = settings_->value(key + QStringLiteral("/Description")).toString();
    bool ok = false;
    r.loadBehavior = settings_->value(key + QStringLiteral("/LoadBehavior")).toInt(&ok);
    if (!ok)
        r.loadBehavior = 0; // an entry the host cannot read stays unloaded
    return r;
}

std::vector<AddinRegistration> AddinRegistry::All() const {
    std::vector<AddinRegistration> result;
    for (const QString& progId : ChildGroups(AddinsKey))
        if (auto r = Find(progId))
            result.push_back(std::move(*r));
    return result;
}

void AddinRegistry::SetLoadBehavior(const QString& progId, int loadBehavior) {
    settings_->setValue(settingsKey(entryKey(progId)) + QStringLiteral("/LoadBehavior"), loadBehavior);
    settings_->sync();
}

QString AddinRegistry::Value(const QString& key, const QString& fallback) const {
    return settings_->value(settingsKey(key), fallback).toString();
}

void AddinRegistry::SetValue(const QString& key, const QString& value) {
    settings_->setValue(settingsKey(key), value);
    settings_->sync();
}

void AddinRegistry::Remove(const QString& key) {
    settings_->remove(settingsKey(key));
    settings_->sync();
}

void AddinRegistry::ReplaceGroup(const QString& key, const std::vector<std::pair<QString, QString>>& values) {
    const QString group = settingsKey(key);
    settings_->remove(group);
    for (const auto& [name, value] : values)
        settings_->setValue(group + QLatin1Char('/') + settingsKey(name), value);
    settings_->sync();
}

std::vector<QString> AddinRegistry::ChildGroups(const QString& key) const {
    settings_->sync();
    settings_->beginGroup(settingsKey(key));
    QStringList groups = settings_->childGroups();
    settings_->endGroup();
    groups.sort();
    return {groups.begin(), groups.end()};
}

} // namespace zov::addin
