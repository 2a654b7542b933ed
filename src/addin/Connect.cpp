#include "addin/Connect.h"

#include "addin/Session.h"
#include "host/Application.h"
#include "platform/MessageBox.h"

#include <exception>
#include <optional>

namespace zov::addin {

namespace {

// Runs one step of a handler that ignores every error and goes on with the next step.
template <typename Step>
void ignoringErrors(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

} // namespace

Connect::Connect(AddinServices services, EditorWindowsFactory windows)
    : services_(std::move(services)), windows_(std::move(windows)) {}

Connect::~Connect() {
    // The host may drop the add-in without disconnecting it: its button must not keep a
    // handler into this object.
    releaseButton();
}

void Connect::holdButton(host::CommandBarButton button) {
    addinButton_ = std::move(button);
    if (addinButton_.IsNothing())
        return;
    addinButton_.SetClickHandler([this] {
        bool cancelDefault = false;
        AddinButton_Click(addinButton_, cancelDefault);
    });
}

void Connect::releaseButton() {
    if (!addinButton_.IsNothing())
        ignoringErrors([&] { addinButton_.SetClickHandler({}); });
    addinButton_ = host::CommandBarButton();
}

void Connect::OnConnection(host::Application& Application, int /*ConnectMode*/, const AddInInstance& AddInInst,
                           QVariantList& /*custom*/) {
    ignoringErrors([&] { session_ = std::make_unique<Session>(Application, services_, windows_); });
    std::optional<host::CommandBar> standard;
    ignoringErrors([&] { standard = Application.CommandBars().Item(StandardBar); });
    if (!standard)
        return;
    ignoringErrors([&] { holdButton(standard->FindControl(ButtonTag)); });
    if (!addinButton_.IsNothing())
        return;
    ignoringErrors([&] { holdButton(standard->AddButton(host::ControlButton)); });
    if (addinButton_.IsNothing())
        return;
    ignoringErrors([&] { addinButton_.SetParameter(ButtonParameter); });
    ignoringErrors([&] { addinButton_.SetCaption(ButtonCaption); });
    ignoringErrors([&] { addinButton_.SetStyle(host::ButtonCaption); });
    ignoringErrors([&] { addinButton_.SetTag(ButtonTag); });
    ignoringErrors([&] { addinButton_.SetOnAction(QStringLiteral("!<") + AddInInst.ProgId + QLatin1Char('>')); });
    ignoringErrors([&] { addinButton_.SetVisible(true); });
}

void Connect::OnDisconnection(int RemoveMode, QVariantList& /*custom*/) {
    if (RemoveMode == RemoveUserClosed && session_) {
        ignoringErrors([&] {
            host::CommandBar standard = session_->Application().CommandBars().Item(StandardBar);
            for (int i = standard.ControlCount(); i >= 1; --i) {
                host::CommandBarButton control = standard.Control(i);
                if (control.Caption() == ButtonCaption) {
                    control.Delete();
                    break;
                }
            }
        });
    }
    releaseButton();
    // The session goes with the connection; its palette closes (offering to save the settings).
    session_.reset();
}

void Connect::OnAddInsUpdate(QVariantList& /*custom*/) {}
void Connect::OnStartupComplete(QVariantList& /*custom*/) {}
void Connect::OnBeginShutdown(QVariantList& /*custom*/) {}

void Connect::AddinButton_Click(const host::CommandBarButton& /*Ctrl*/, bool& /*CancelDefault*/) {
    if (!session_)
        return;
    try {
        session_->StartEditor();
    } catch (const std::exception& e) {
        // The start has no handling of its own; the failure is told and the host goes on.
        if (services_.messages)
            services_.messages->inform(QStringLiteral("The editor could not be started: %1").arg(QString::fromLocal8Bit(e.what())),
                                       QStringLiteral("ZOVEdit"), platform::MessageIcon::Critical);
    }
}

} // namespace zov::addin
