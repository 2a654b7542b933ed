#pragma once
// The add-in's connection class. On connection it keeps the host application, makes the
// session that lives while the add-in is connected, and makes sure the host's "Standard"
// command bar carries the "ZOV Edit" button, whose press starts the editor. On disconnection by
// the user it removes the button; on host shutdown the button stays for the next run.
#include "addin/AddinServices.h"
#include "addin/EditorWindows.h"
#include "addin/Extensibility.h"
#include "host/CommandBars.h"

#include <memory>

namespace zov::addin {

class Session;

// The button's facts.
inline const QString ButtonCaption = QStringLiteral("ZOV Edit");
inline const QString ButtonTag = QStringLiteral("ZOV Edit");
inline const QString ButtonParameter = QStringLiteral("ZOV Edit");
inline const QString StandardBar = QStringLiteral("Standard");
inline const QString ZovEditProgId = QStringLiteral("ZOVEdit.Connect");

class Connect : public Extensibility {
public:
    Connect(AddinServices services, EditorWindowsFactory windows);
    ~Connect() override;
    Connect(const Connect&) = delete;
    Connect& operator=(const Connect&) = delete;

    void OnConnection(host::Application& Application, int ConnectMode, const AddInInstance& AddInInst,
                      QVariantList& custom) override;
    void OnDisconnection(int RemoveMode, QVariantList& custom) override;
    void OnAddInsUpdate(QVariantList& custom) override;
    void OnStartupComplete(QVariantList& custom) override;
    void OnBeginShutdown(QVariantList& custom) override;

    // A press of the button: starts the editor; `CancelDefault` is left as it is.
    void AddinButton_Click(const host::CommandBarButton& Ctrl, bool& CancelDefault);

    const host::CommandBarButton& AddinButton() const { return addinButton_; }
    // The session while connected, else null.
    Session* CurrentSession() const { return session_.get(); }

private:
    void holdButton(host::CommandBarButton button);
    void releaseButton();

    AddinServices services_;
    EditorWindowsFactory windows_;
    host::CommandBarButton addinButton_;
    std::unique_ptr<Session> session_;
};

} // namespace zov::addin
