#pragma once
// The add-in protocol between the host and an add-in: the five handlers every add-in class
// offers (after the Office extensibility interface), and the facts the host hands over.
#include <QString>
#include <QVariantList>

namespace zov::host {
class Application;
}

namespace zov::addin {

// Why the host connects an add-in.
enum ConnectMode : int {
    ConnectAfterStartup = 0, // loaded while the host runs (a button press, the Add-ins dialog)
    ConnectStartup = 1,      // loaded as the host starts
    ConnectExternal = 2,
    ConnectCommandLine = 3,
};

// Why the host disconnects an add-in.
enum RemoveMode : int {
    RemoveHostShutdown = 0, // the host is shutting down
    RemoveUserClosed = 1,   // the user removed the add-in (the Add-ins dialog)
};

// What the host knows of a loaded add-in.
struct AddInInstance {
    QString ProgId;
    QString Description;
};

class Extensibility {
public:
    virtual ~Extensibility() = default;
    virtual void OnConnection(host::Application& Application, int ConnectMode, const AddInInstance& AddInInst,
                              QVariantList& custom) = 0;
    virtual void OnDisconnection(int RemoveMode, QVariantList& custom) = 0;
    virtual void OnAddInsUpdate(QVariantList& custom) = 0;
    virtual void OnStartupComplete(QVariantList& custom) = 0;
    virtual void OnBeginShutdown(QVariantList& custom) = 0;
};

} // namespace zov::addin
