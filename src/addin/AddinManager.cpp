#include "addin/AddinManager.h"

#include "host/Application.h"
#include "platform/MessageBox.h"

#include <exception>

namespace zov::addin {

namespace {

const QString savedButtonsKey = QStringLiteral("Software\\Microsoft\\Office\\PowerPoint\\CommandBars\\AddinControls");

QString describe(const std::exception& e) { return QString::fromLocal8Bit(e.what()); }

} // namespace

AddinManager::AddinManager(host::Application& application, AddinRegistry& registry, platform::MessageBoxes& messages)
    : application_(application), registry_(registry), messages_(messages) {
    // Every change of the bars' controls goes to the settings at once: what the host keeps must
    // not depend on an orderly shutdown.
    barsListener_ = application_.CommandBars().AddListener([this] {
        if (buttonsLoaded_ && !restoring_)
            saveButtons();
    });
}

AddinManager::~AddinManager() {
    application_.CommandBars().RemoveListener(barsListener_);
    // The host going away without an orderly shutdown still disconnects every add-in, so no
    // button keeps a handler into a destroyed add-in.
    if (!shutDown_) {
        while (!connected_.empty())
            disconnect(connected_.begin()->first, RemoveHostShutdown);
    }
    // Presses on buttons of unconnected add-ins reach this manager; they stop here.
    for (const host::CommandBar& bar : application_.CommandBars().All())
        for (int i = 1; i <= bar.ControlCount(); ++i)
            if (host::CommandBarButton button = bar.Control(i); !ProgIdOfAction(button.OnAction()).isEmpty())
                button.SetClickHandler({});
}

void AddinManager::Provide(const QString& progId, Factory factory) { factories_[progId] = std::move(factory); }

QString AddinManager::ProgIdOfAction(const QString& onAction) {
    if (onAction.size() > 3 && onAction.startsWith(QStringLiteral("!<")) && onAction.endsWith(QLatin1Char('>')))
        return onAction.mid(2, onAction.size() - 3);
    return QString();
}

void AddinManager::report(const QString& text) const {
    messages_.inform(text, QStringLiteral("Add-ins"), platform::MessageIcon::Critical);
}

void AddinManager::setConnectedBit(const QString& progId, bool connected) {
    const auto entry = registry_.Find(progId);
    if (!entry || entry->loadBehavior == LoadConnectFirstTime)
        return;
    const int updated = connected ? (entry->loadBehavior | LoadConnected) : (entry->loadBehavior & ~LoadConnected);
    if (updated != entry->loadBehavior)
        registry_.SetLoadBehavior(progId, updated);
}

void AddinManager::StartUp() {
    shutDown_ = false;
    restoreButtons();
    // From here on the settings follow the bars; the first writing also drops the saved buttons
    // of add-ins unregistered since.
    buttonsLoaded_ = true;
    savedButtons_ = buttonRecords();
    registry_.ReplaceGroup(savedButtonsKey, savedButtons_);
    for (const AddinRegistration& entry : registry_.All()) {
        const int lb = entry.loadBehavior;
        const bool atStartup = (lb & (LoadAtStartup | LoadConnected)) == (LoadAtStartup | LoadConnected);
        if (lb == LoadConnectFirstTime) {
            if (ConnectAddin(entry.progId, ConnectStartup))
                registry_.SetLoadBehavior(entry.progId, LoadOnDemand | LoadConnected);
        } else if (atStartup) {
            ConnectAddin(entry.progId, ConnectStartup);
        }
    }
    for (auto& [progId, loaded] : connected_) {
        QVariantList custom;
        try {
            loaded.addin->OnStartupComplete(custom);
        } catch (const std::exception& e) {
            report(QStringLiteral("The add-in \"%1\" failed when the host started: %2").arg(progId, describe(e)));
        }
    }
    hookOnDemandButtons();
}

void AddinManager::ShutDown() {
    for (auto& [progId, loaded] : connected_) {
        QVariantList custom;
        try {
            loaded.addin->OnBeginShutdown(custom);
        } catch (const std::exception&) {
            // Shutting down goes on whatever an add-in does.
        }
    }
    while (!connected_.empty())
        disconnect(connected_.begin()->first, RemoveHostShutdown);
    saveButtons();
    shutDown_ = true;
}

std::vector<AddinManager::AddinState> AddinManager::Addins() const {
    std::vector<AddinState> result;
    for (AddinRegistration& entry : registry_.All()) {
        AddinState state;
        state.connected = connected_.count(entry.progId) != 0;
        state.available = factories_.count(entry.progId) != 0;
        state.registration = std::move(entry);
        result.push_back(std::move(state));
    }
    return result;
}

bool AddinManager::IsConnected(const QString& progId) const { return connected_.count(progId) != 0; }

Extensibility* AddinManager::Connected(const QString& progId) const {
    const auto it = connected_.find(progId);
    return it == connected_.end() ? nullptr : it->second.addin.get();
}

bool AddinManager::ConnectAddin(const QString& progId, int connectMode) {
    if (IsConnected(progId))
        return true;
    const auto entry = registry_.Find(progId);
    if (!entry) {
        report(QStringLiteral("The add-in \"%1\" is not registered.").arg(progId));
        return false;
    }
    const auto factory = factories_.find(progId);
    if (factory == factories_.end()) {
        report(QStringLiteral("The add-in \"%1\" could not be loaded: this program does not contain it.").arg(progId));
        return false;
    }
    try {
        std::unique_ptr<Extensibility> addin = factory->second();
        if (!addin)
            throw std::runtime_error("the add-in could not be created");
        Extensibility& added = *addin;
        connected_[progId] = Loaded{std::move(addin)};
        QVariantList custom;
        added.OnConnection(application_, connectMode, AddInInstance{progId, entry->description}, custom);
    } catch (const std::exception& e) {
        connected_.erase(progId);
        report(QStringLiteral("The add-in \"%1\" could not be connected: %2").arg(progId, describe(e)));
        return false;
    }
    setConnectedBit(progId, true);
    notifyAddinsUpdate();
    return true;
}

void AddinManager::disconnect(const QString& progId, int removeMode) {
    const auto it = connected_.find(progId);
    if (it == connected_.end())
        return;
    std::unique_ptr<Extensibility> addin = std::move(it->second.addin);
    connected_.erase(it);
    QVariantList custom;
    try {
        addin->OnDisconnection(removeMode, custom);
    } catch (const std::exception& e) {
        if (removeMode != RemoveHostShutdown)
            report(QStringLiteral("The add-in \"%1\" failed while disconnecting: %2").arg(progId, describe(e)));
    }
}

void AddinManager::DisconnectAddin(const QString& progId) {
    if (!IsConnected(progId))
        return;
    disconnect(progId, RemoveUserClosed);
    setConnectedBit(progId, false);
    notifyAddinsUpdate();
    hookOnDemandButtons();
}

void AddinManager::RemoveAddin(const QString& progId) {
    disconnect(progId, RemoveUserClosed);
    registry_.Unregister(progId);
    notifyAddinsUpdate();
    hookOnDemandButtons();
}

void AddinManager::notifyAddinsUpdate() {
    for (auto& [progId, loaded] : connected_) {
        QVariantList custom;
        try {
            loaded.addin->OnAddInsUpdate(custom);
        } catch (const std::exception&) {
            // An add-in's reaction to the change of others is its own affair.
        }
    }
}

// Buttons whose add-in is not connected connect it when pressed.
void AddinManager::hookOnDemandButtons() {
    for (const host::CommandBar& bar : application_.CommandBars().All()) {
        for (int i = 1; i <= bar.ControlCount(); ++i) {
            host::CommandBarButton button = bar.Control(i);
            const QString progId = ProgIdOfAction(button.OnAction());
            if (progId.isEmpty() || IsConnected(progId))
                continue;
            button.SetClickHandler([this, progId, button] { pressOnDemand(progId, button); });
        }
    }
}

void AddinManager::pressOnDemand(const QString& progId, host::CommandBarButton button) {
    if (routingPress_)
        return; // the add-in did not take the button over: the press ends here
    if (!ConnectAddin(progId, ConnectAfterStartup))
        return;
    // The add-in found its button again while connecting and now receives its presses.
    if (button.IsNothing())
        return;
    routingPress_ = true;
    try {
        button.Execute();
    } catch (...) {
        routingPress_ = false;
        throw;
    }
    routingPress_ = false;
}

std::vector<std::pair<QString, QString>> AddinManager::buttonRecords() const {
    std::vector<std::pair<QString, QString>> records;
    int index = 0;
    for (const host::CommandBar& bar : application_.CommandBars().All()) {
        for (int i = 1; i <= bar.ControlCount(); ++i) {
            const host::CommandBarButton button = bar.Control(i);
            if (ProgIdOfAction(button.OnAction()).isEmpty())
                continue;
            const QString group = QString::number(++index) + QLatin1Char('\\');
            records.emplace_back(group + QStringLiteral("Bar"), bar.Name());
            records.emplace_back(group + QStringLiteral("Caption"), button.Caption());
            records.emplace_back(group + QStringLiteral("Style"), QString::number(button.Style()));
            records.emplace_back(group + QStringLiteral("Tag"), button.Tag());
            records.emplace_back(group + QStringLiteral("Parameter"), button.Parameter());
            records.emplace_back(group + QStringLiteral("OnAction"), button.OnAction());
            records.emplace_back(group + QStringLiteral("Visible"), button.Visible() ? QStringLiteral("1") : QStringLiteral("0"));
        }
    }
    return records;
}

// Writes the add-in buttons to the settings when they differ from what was written last.
void AddinManager::saveButtons() {
    std::vector<std::pair<QString, QString>> records = buttonRecords();
    if (records == savedButtons_ && buttonsLoaded_ && registry_.LastError().isEmpty())
        return;
    registry_.ReplaceGroup(savedButtonsKey, records);
    savedButtons_ = std::move(records);
}

void AddinManager::restoreButtons() {
    restoring_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{restoring_};
    for (const QString& name : registry_.ChildGroups(savedButtonsKey)) {
        const QString group = savedButtonsKey + QLatin1Char('\\') + name;
        const QString onAction = registry_.Value(group + QStringLiteral("\\OnAction"));
        const QString progId = ProgIdOfAction(onAction);
        if (progId.isEmpty() || !registry_.Find(progId))
            continue; // the add-in has been unregistered since: its button goes with it
        const QString barName = registry_.Value(group + QStringLiteral("\\Bar"));
        const QString tag = registry_.Value(group + QStringLiteral("\\Tag"));
        if (barName.isEmpty())
            continue;
        host::CommandBar bar = application_.CommandBars().Item(barName);
        const host::CommandBarButton existing = bar.FindControl(tag);
        if (!existing.IsNothing() && existing.OnAction() == onAction)
            continue;
        try {
            host::CommandBarButton button = bar.AddButton();
            button.SetCaption(registry_.Value(group + QStringLiteral("\\Caption")));
            bool ok = false;
            const int style = registry_.Value(group + QStringLiteral("\\Style")).toInt(&ok);
            button.SetStyle(ok && style >= host::ButtonAutomatic && style <= host::ButtonIconAndCaption ? style
                                                                                                       : host::ButtonCaption);
            button.SetTag(tag);
            button.SetParameter(registry_.Value(group + QStringLiteral("\\Parameter")));
            button.SetOnAction(onAction);
            button.SetVisible(registry_.Value(group + QStringLiteral("\\Visible"), QStringLiteral("1")) != QStringLiteral("0"));
        } catch (const std::exception&) {
            // A damaged saved control is dropped; the add-in adds its button again when it connects.
        }
    }
}

} // namespace zov::addin
