#pragma once
// The per-user settings store on QSettings: one INI file per application under the
// organisation "ZOVEdit", sections as groups, values as text. The default constructor uses the
// user's configuration folder; the other keeps the files below a given folder (tests point it
// at a temporary one).
#include "platform/SettingsStore.h"

namespace zov::platform {

class IniSettingsStore : public SettingsStore {
public:
    IniSettingsStore() = default;
    explicit IniSettingsStore(QString folder) : folder_(std::move(folder)) {}

    QString value(const QString& application, const QString& section, const QString& key,
                  const QString& fallback) const override;
    void setValue(const QString& application, const QString& section, const QString& key,
                  const QString& value) override;
    void remove(const QString& application, const QString& section, const QString& key) override;

    // The file that holds an application's settings.
    QString fileName(const QString& application) const;

private:
    QString folder_; // empty: the user's configuration folder
};

} // namespace zov::platform
