#pragma once
// A per-user key/value store addressed by application, section and key; values are text.
#include <QString>
#include <optional>

namespace zov::platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `fallback` when the key is absent.
    virtual QString value(const QString& application, const QString& section, const QString& key,
                          const QString& fallback) const = 0;
    virtual void setValue(const QString& application, const QString& section, const QString& key,
                          const QString& value) = 0;
    virtual void remove(const QString& application, const QString& section, const QString& key) = 0;
};

} // namespace zov::platform
