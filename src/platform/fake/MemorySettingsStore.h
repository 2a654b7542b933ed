#pragma once
// A settings store held in memory, for tests. Besides the values it keeps a log of every write
// and removal in order, so a test can tell "nothing written" from "the same value written".
#include "platform/SettingsStore.h"

#include <map>
#include <tuple>
#include <vector>

namespace zov::platform {

class MemorySettingsStore : public SettingsStore {
public:
    struct Address {
        QString application, section, key;
        bool operator<(const Address& other) const {
            return std::tie(application, section, key) < std::tie(other.application, other.section, other.key);
        }
    };
    struct Write {
        Address address;
        QString value;  // the text written
        bool removed = false;
    };

    QString value(const QString& application, const QString& section, const QString& key,
                  const QString& fallback) const override;
    void setValue(const QString& application, const QString& section, const QString& key,
                  const QString& value) override;
    void remove(const QString& application, const QString& section, const QString& key) override;

    bool contains(const QString& application, const QString& section, const QString& key) const;
    const std::vector<Write>& writes() const { return writes_; }
    void clearWrites() { writes_.clear(); }

private:
    std::map<Address, QString> values_;
    std::vector<Write> writes_;
};

} // namespace zov::platform
