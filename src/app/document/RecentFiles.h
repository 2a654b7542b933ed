#pragma once
// The list of recently opened or saved files, newest first, kept in the settings store
// (application "ZOVEdit", section "RecentFiles", keys "File1" ...).
#include "platform/SettingsStore.h"

#include <QStringList>

namespace zov::app {

class RecentFiles {
public:
    static constexpr int kMaxFiles = 8;

    explicit RecentFiles(platform::SettingsStore& store) : store_(store) {}

    QStringList files() const;
    // Puts the file first (once; paths compare as absolute paths).
    void add(const QString& path);
    void remove(const QString& path);

private:
    void store(const QStringList& files);
    platform::SettingsStore& store_;
};

} // namespace zov::app
