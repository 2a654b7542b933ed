#include "ui/DesktopAddins.h"

#include "addin/Connect.h"
#include "addin/Session.h"
#include "addin/Version.h"
#include "ui/AddinsDialog.h"
#include "ui/FocusReturn.h"
#include "ui/QtEditorWindows.h"

#include <QCoreApplication>
#include <QDateTime>

namespace zov::ui {

namespace {

const QString firstRunKey = QStringLiteral("Software\\ZOVEdit\\Installed");

QString programFolder() {
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

} // namespace

DesktopAddins::DesktopAddins(host::Application& application, DesktopAddinsOptions options)
    : options_(std::move(options)),
      cursor_([&application](QPointF point) -> std::optional<QPoint> {
          try {
              const host::DocumentWindow window = application.ActiveWindow();
              if (window.IsNothing())
                  return std::nullopt;
              return QPoint(window.PointsToScreenPixelsX(static_cast<float>(point.x())),
                            window.PointsToScreenPixelsY(static_cast<float>(point.y())));
          } catch (const host::HostError&) {
              return std::nullopt;
          }
      }),
      help_(messages_), settings_(options_.drawingSettingsFolder),
      registry_(options_.hostSettingsFile.isEmpty() ? std::make_unique<addin::AddinRegistry>()
                                                     : std::make_unique<addin::AddinRegistry>(options_.hostSettingsFile)),
      manager_(std::make_unique<addin::AddinManager>(application, *registry_, messages_)),
      ownIds_(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch() & 0xFFFFFFFFu)) {
    if (options_.libraryFolder.isEmpty())
        options_.libraryFolder = programFolder();
    manager_->Provide(addin::ZovEditProgId, [this] { return makeZovEdit(); });
}

DesktopAddins::~DesktopAddins() = default;

std::unique_ptr<addin::Extensibility> DesktopAddins::makeZovEdit() {
    addin::AddinServices services;
    services.messages = &messages_;
    services.settings = &settings_;
    services.cursor = &cursor_;
    services.dialogs = &dialogs_;
    services.help = &help_;
    services.libraryFolder = options_.libraryFolder;
    services.version = addin::CurrentVersion();
    return std::make_unique<addin::Connect>(std::move(services), QtEditorWindowsFactory());
}

void DesktopAddins::StartUp() {
    if (options_.registerOnFirstRun && registry_->Value(firstRunKey).isEmpty()) {
        if (!registry_->Find(addin::ZovEditProgId))
            registry_->Register(addin::ZovEditRegistration());
        registry_->SetValue(firstRunKey, QStringLiteral("1"));
    }
    manager_->StartUp();
}

QString DesktopAddins::NewNodeId() {
    if (const auto* connect = dynamic_cast<const addin::Connect*>(manager_->Connected(addin::ZovEditProgId)))
        if (addin::Session* session = connect->CurrentSession())
            return session->Editor().Ids().NewNodeId();
    return ownIds_.NewNodeId();
}

void DesktopAddins::ShutDown() { manager_->ShutDown(); }

void DesktopAddins::ShowHelp() {
    help_.ShowHelp(addin::IntroHelpLocation(options_.libraryFolder), platform::HelpCommand::Contents);
}

void DesktopAddins::ShowAbout() {
    messages_.inform(addin::AboutText(addin::CurrentVersion()), QStringLiteral("ZOVEdit"), platform::MessageIcon::Information);
}

void DesktopAddins::ShowAddinsDialog(QWidget* parent) {
    AddinsDialog dialog(*manager_, parent);
    const FocusReturn focus;
    dialog.exec();
}

} // namespace zov::ui
