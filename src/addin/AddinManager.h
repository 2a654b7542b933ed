#pragma once
// The host's side of the add-in protocol. The desktop host makes one AddinManager beside its
// Application, tells it which add-in classes this program carries (`Provide`), and calls
// `StartUp` once its main window is up and `ShutDown` when it closes. The Add-ins dialog lists
// `Addins()` and connects, disconnects or removes them.
//
// Load behaviour: an entry with "at startup" and "connected" (3) or "connect first time" (16)
// is connected by `StartUp`; a first-time entry then becomes "on demand, connected" (9). An
// add-in's own buttons (action "!<ProgID>") are kept between runs in the host's settings, and a
// press on one whose add-in is not connected connects it and hands the press on to it. The
// buttons are written to the settings whenever one is added, changed or deleted, so that a
// host that ends without shutting down (killed, crashed) finds them again at its next start.
#include "addin/AddinRegistry.h"
#include "addin/Extensibility.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace zov::host {
class Application;
class CommandBarButton;
} // namespace zov::host
namespace zov::platform {
class MessageBoxes;
}

namespace zov::addin {

class AddinManager {
public:
    using Factory = std::function<std::unique_ptr<Extensibility>()>;

    struct AddinState {
        AddinRegistration registration;
        bool connected = false;
        bool available = false; // this program carries the add-in's class
    };

    // `messages` reports add-ins that cannot be loaded.
    AddinManager(host::Application& application, AddinRegistry& registry, platform::MessageBoxes& messages);
    // Disconnects what is still connected, as at host shutdown. Destroy the manager before the
    // Application it serves.
    ~AddinManager();
    AddinManager(const AddinManager&) = delete;
    AddinManager& operator=(const AddinManager&) = delete;

    // Makes an add-in class known under its ProgID.
    void Provide(const QString& progId, Factory factory);

    // Host start: restores the add-ins' saved buttons, connects the add-ins whose load behaviour
    // asks for it, then tells every connected add-in that start-up is complete.
    void StartUp();
    // Host shutdown: OnBeginShutdown to every connected add-in, OnDisconnection with
    // RemoveHostShutdown, then saves the add-ins' buttons for the next run.
    void ShutDown();

    std::vector<AddinState> Addins() const; // registered add-ins in ProgID order
    bool IsConnected(const QString& progId) const;
    // The connected add-in object, or null.
    Extensibility* Connected(const QString& progId) const;
    // Connects a registered add-in this program carries; false (with a message) otherwise.
    bool ConnectAddin(const QString& progId, int connectMode = ConnectAfterStartup);
    // The user unticked the add-in: OnDisconnection with RemoveUserClosed; the entry stays.
    void DisconnectAddin(const QString& progId);
    // The user removed the add-in: disconnects it with RemoveUserClosed and deletes its entry.
    void RemoveAddin(const QString& progId);

    // The ProgID an action string "!<ProgID>" names, or empty for any other action.
    static QString ProgIdOfAction(const QString& onAction);

private:
    struct Loaded {
        std::unique_ptr<Extensibility> addin;
    };
    void disconnect(const QString& progId, int removeMode);
    void notifyAddinsUpdate();
    void hookOnDemandButtons();
    void pressOnDemand(const QString& progId, host::CommandBarButton button);
    void restoreButtons();
    void saveButtons();
    // The saved form of the add-in buttons on the bars now: (key below the saved-buttons key, value).
    std::vector<std::pair<QString, QString>> buttonRecords() const;
    void setConnectedBit(const QString& progId, bool connected);
    void report(const QString& text) const;

    host::Application& application_;
    AddinRegistry& registry_;
    platform::MessageBoxes& messages_;
    std::map<QString, Factory> factories_;
    std::map<QString, Loaded> connected_;
    bool routingPress_ = false;
    bool shutDown_ = false;
    bool restoring_ = false;      // restoreButtons is adding the saved buttons: nothing to save
    bool buttonsLoaded_ = false;  // the saved buttons have been read: from now on they are kept current
    std::vector<std::pair<QString, QString>> savedButtons_; // what the settings hold, as last written
    int barsListener_ = 0;
};

} // namespace zov::addin
