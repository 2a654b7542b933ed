#include "app/desktop/Desktop.h"

#include "app/desktop/MainWindow.h"
#include "app/document/DocumentStore.h"
#include "host/Application.h"
#include "platform/CommandLineNames.h"
#include "platform/EndRequests.h"
#include "platform/IniSettingsStore.h"
#include "ui/DesktopAddins.h"
#include "ui/QtPlatform.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QPointer>
#include <QtGlobal>
#include <csignal>
#include <cstdio>

namespace zov::app {

namespace {
// The window whose unsaved work is copied for recovery when the display goes away (the X
// server ended at a logout before any signal arrives): Qt then says that its connection broke
// and ends the program with exit(), which would lose the last minute's work. The copy is made
// when Qt says so, while everything the copy needs is still there (by the time exit() runs its
// handlers, objects made since the program started are gone).
QPointer<MainWindow>& windowOpen()
{
    static QPointer<MainWindow> window;
    return window;
}

QtMessageHandler& handlerBefore()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

void keepWorkWhenTheDisplayGoes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // "The X11 connection broke (error 1). Did the X11 server die?", "The Wayland connection
    // broke. Did the Wayland compositor die?"
    if (type == QtWarningMsg && message.contains(QLatin1String("connection broke")))
        if (MainWindow* window = windowOpen().data())
            window->keepUnsavedWork(true);
    if (QtMessageHandler before = handlerBefore())
        before(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}
} // namespace

int runDesktop(char* program, const char* file)
{
    // Qt sees the program's name only: a file named like one of its options ("-style") is a file.
    int qtArgc = 1;
    char* qtArgv[] = {program, nullptr};
    QApplication application(qtArgc, qtArgv);
    platform::KeepSystemMessagesInEnglish();
    QApplication::setApplicationName(QStringLiteral("ZOVEdit"));
    QApplication::setApplicationVersion(QStringLiteral(ZOV_VERSION));
    QApplication::setQuitOnLastWindowClosed(false); // the palette may outlive the main window

    host::Application host;
    // The add-ins: the registry, the add-in manager and the services they borrow. Made before
    // the window and destroyed after it.
    ui::DesktopAddins addins(host);
    ui::QtCommonDialog dialogs;
    platform::IniSettingsStore settings;
    PptxDocumentStore store;
    RecoveryFolder recovery(RecoveryFolder::DefaultFolder());

    MainWindow window({&host, &addins.Messages(), &dialogs, &settings, &store, [&addins] { return addins.NewNodeId(); },
                       &recovery});
    QAction* addinsAction = window.toolsMenu()->addAction(QObject::tr("&Add-ins..."));
    addinsAction->setStatusTip(QObject::tr("Connect, disconnect or remove add-ins"));
    QObject::connect(addinsAction, &QAction::triggered, &window, [&] { addins.ShowAddinsDialog(&window); });
    QMenu* help = window.menuBar()->addMenu(QObject::tr("&Help"));
    QAction* helpAction = help->addAction(QObject::tr("ZOVEdit &Help"), QKeySequence::HelpContents);
    helpAction->setStatusTip(QObject::tr("How to draw conceptual graphs with the ZOV Edit palette"));
    QObject::connect(helpAction, &QAction::triggered, &window, [&] { addins.ShowHelp(); });
    QAction* aboutAction = help->addAction(QObject::tr("&About ZOVEdit"));
    QObject::connect(aboutAction, &QAction::triggered, &window, [&] { addins.ShowAbout(); });
    // A file-size limit (ulimit -f) fails a save with "File too large", which is told, instead of
    // ending the editor mid-file with the work unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    // Ended from outside (a logout, a shutdown, kill, its terminal closing), the editor first
    // copies its unsaved work to the recovery folder, which the next start offers back.
    platform::EndRequests endRequests([&window](int signal) {
        window.keepUnsavedWork(true);
        platform::EndRequests::EndAsSignalled(signal);
    });
    QObject::connect(&window, &MainWindow::closed, &application, [&] {
        addins.ShutDown();
        QApplication::quit();
    });
    window.show();
    window.activateWindow(); // the keyboard is the window's from the start, with or without a window manager
    windowOpen() = &window;
    handlerBefore() = qInstallMessageHandler(keepWorkWhenTheDisplayGoes);

    // The registered add-ins connect once the window is up (their buttons join "Standard"),
    // then the file named on the command line opens.
    addins.StartUp();
    // Work that an editor which did not end properly left unsaved is offered first; the file
    // named on the command line is the one opened then, and recovered work is saved beside it.
    const QString path = file != nullptr ? QString::fromLocal8Bit(file) : QString();
    const std::optional<QString> notUtf8 = file != nullptr ? platform::NameNotUtf8(file) : std::nullopt;
    QTimer::singleShot(0, &window, [&window, &addins, path, notUtf8] {
        window.offerRecoveredWork(path.isEmpty());
        if (notUtf8)
            addins.Messages().inform(QStringLiteral("Cannot open \"%1\": %2").arg(*notUtf8, platform::NotUtf8Reason()),
                                     MainWindow::kApplicationTitle, platform::MessageIcon::Critical);
        else if (!path.isEmpty())
            window.openOrStartFile(path);
    });
    const int status = application.exec();
    windowOpen() = nullptr; // ended by the user: nothing is left to keep
    return status;
}

} // namespace zov::app
