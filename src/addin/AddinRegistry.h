#pragma once
// The host's record of registered add-ins, kept in the host's settings (a QSettings file) under
// "Software\Microsoft\Office\PowerPoint\Addins\<ProgID>" with the values FriendlyName,
// Description and LoadBehavior. `zovedit --register` writes the entry of this program's add-in,
// `--unregister` removes it, and the host reads the entries when it starts.
#include <QString>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QSettings;

namespace zov::addin {

// Load behaviour bits of an entry.
enum LoadBehavior : int {
    LoadConnected = 1,       // connected now (kept up to date by the host)
    LoadAtStartup = 2,       // connect whenever the host starts
    LoadOnDemand = 8,        // connect when one of the add-in's buttons is pressed
    LoadConnectFirstTime = 16, // connect at the next start only, then on demand
};

struct AddinRegistration {
    QString progId;
    QString friendlyName;
    QString description;
    int loadBehavior = 0;
};

// The key below which the host keeps its add-in entries.
inline const QString AddinsKey = QStringLiteral("Software\\Microsoft\\Office\\PowerPoint\\Addins");

// The entry of this program's add-in, as registration writes it.
AddinRegistration ZovEditRegistration();

class AddinRegistry;
// `zovedit --register` and `--unregister`: write or remove this program's entry. Each returns
// the process exit status (0, or 2 with the reason on standard error).
int RegisterZovEdit(AddinRegistry& registry);
int UnregisterZovEdit(AddinRegistry& registry);

class AddinRegistry {
public:
    // The host's settings of the current user.
    AddinRegistry();
    // The host's settings in a given INI file (tests use a temporary one).
    explicit AddinRegistry(const QString& fileName);
    ~AddinRegistry();
    AddinRegistry(const AddinRegistry&) = delete;
    AddinRegistry& operator=(const AddinRegistry&) = delete;

    void Register(const AddinRegistration& registration);
    void Unregister(const QString& progId); // absent entries are fine
    std::optional<AddinRegistration> Find(const QString& progId) const;
    std::vector<AddinRegistration> All() const; // in ProgID order
    void SetLoadBehavior(const QString& progId, int loadBehavior);

    // Free-form host values beside the add-in entries (the host keeps its command-bar
    // customisation and first-run marks here). `key` uses "\" or "/" between parts.
    QString Value(const QString& key, const QString& fallback = QString()) const;
    void SetValue(const QString& key, const QString& value);
    void Remove(const QString& key);
    // Replaces everything below `key` with `values` (pairs of a key below it and its value) and
    // writes the file once.
    void ReplaceGroup(const QString& key, const std::vector<std::pair<QString, QString>>& values);
    std::vector<QString> ChildGroups(const QString& key) const;

    QString FileName() const;
    // Empty when every write so far reached the file, else why not.
    QString LastError() const;

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace zov::addin
