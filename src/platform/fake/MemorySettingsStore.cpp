#include "platform/fake/MemorySettingsStore.h"

namespace zov::platform {

QString MemorySettingsStore::value(const QString& application, const QString& section, const QString& key,
                                   const QString& fallback) const {
    const auto found = values_.find(Address{application, section, key});
    return found == values_.end() ? fallback : found->second;
}

void MemorySettingsStore::setValue(const QString& application, const QString& section, const QString& key,
                                   const QString& value) {
    Address address{application, section, key};
    values_[address] = value;
    writes_.push_back(Write{std::move(address), value, false});
}

void MemorySettingsStore::remove(const QString& application, const QString& section, const QString& key) {
    Address address{application, section, key};
    values_.erase(address);
    writes_.push_back(Write{std::move(address), QString(), true});
}

bool MemorySettingsStore::contains(const QString& application, const QString& section, const QString& key) const {
    return values_.count(Address{application, section, key}) != 0;
}

} // namespace zov::platform
