#include "app/desktop/MainWindow.h"

#include "app/desktop/ShapeEditCommands.h"
#include "app/desktop/SlideCanvas.h"
#include "app/desktop/SlideList.h"
#include "app/desktop/TurnIcon.h"
#include "app/document/DocumentLock.h"
#include "app/document/SignedDocument.h"
#include "drawing/GraphEncoding.h"
#include "drawing/GraphTitle.h"
#include "host/AutoShapeType.h"
#include "host/HostError.h"
#include "host/pptx/PptxFile.h"
#include "host/pptx/PackageKind.h"
#include "platform/CommonDialog.h"
#include "platform/FreeMemory.h"
#include "platform/MessageBox.h"
#include "platform/OutputFile.h"
#include "platform/SettingsStore.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>
#include <atomic>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace zov::app {

const QString MainWindow::kApplicationTitle = QStringLiteral("ZOVEdit");
const QString MainWindow::kFileFilter = QStringLiteral(
    "PowerPoint Presentation (*.pptx)|*.pptx|All PowerPoint Presentations (*.pptx;*.pptm;*.ppsx;*.ppsm;*.potx;*.potm)|"
    "*.pptx;*.pptm;*.ppsx;*.ppsm;*.potx;*.potm|All Files (*.*)|*.*|");

namespace {

const QString kStandardBar = QStringLiteral("Standard");

// Runs a handler of a command the user gave; a failure becomes a message, never an escape
// through the event loop.
template <typename F>
void guarded(platform::MessageBoxes& messages, F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        messages.inform(QString::fromStdString(e.what()), MainWindow::kApplicationTitle, platform::MessageIcon::Critical);
    }
}

QSize openingSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return MainWindow::openingSizeFor(screen ? screen->availableGeometry().size() : QSize(1600, 1000));
}

// The window's size when it last closed ("WIDTHxHEIGHT"), where it is kept for the next start.
const QString kSettingsApplication = QStringLiteral("ZOVEdit");
const QString kWindowSection = QStringLiteral("Window");
const QString kSizeKey = QStringLiteral("Size");

// The size kept from the last run, when it is one and the screen has the room for it now (a
// tenth left for a frame): a size kept on a larger screen opens at the usual size instead.
std::optional<QSize> keptSize(const platform::SettingsStore& store)
{
    const QStringList parts = store.value(kSettingsApplication, kWindowSection, kSizeKey, QString()).split(u'x');
    bool wide = false, high = false;
    const QSize size = parts.size() == 2 ? QSize(parts[0].toInt(&wide), parts[1].toInt(&high)) : QSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!wide || !high || size.width() < 520 || size.height() < 380 || screen == nullptr)
        return std::nullopt;
    const QSize room = screen->availableGeometry().size() * 0.9;
    if (size.width() > room.width() || size.height() > room.height())
        return std::nullopt;
    return size;
}

} // namespace

// 1200 x 800, or less on a screen without the room: the status bar and the slide's right edge
// must not open off the screen. A tenth of the room is left for a window manager's frame. On a
// screen a little narrower than the window and a palette side by side (1366 wide, say), the
// window leaves the palette its room, down to 1000 wide, rather than have the palette open over
// its slide list.
QSize MainWindow::openingSizeFor(QSize room)
{
    constexpr int toolRoom = 280; // the palette's width, its frame and a gap
    constexpr int narrowest = 1000;
    QSize size = QSize(1200, 800).boundedTo(room * 0.9);
    if (room.width() - size.width() < toolRoom && room.width() - toolRoom >= narrowest)
        size.setWidth(room.width() - toolRoom);
    return size;
}

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent), services_(services), recent_(*services.settings)
{
    setObjectName(QStringLiteral("ZOVEditMainWindow"));
    // Smaller than this, the status bar's texts run into each other and the slide list into
    // the slide.
    setMinimumSize(QSize(520, 380).boundedTo(openingSize()));
    resize(keptSize(*services_.settings).value_or(openingSize()));
    canvas_ = new SlideCanvas(this);
    canvas_->setObjectName(QStringLiteral("SlideCanvas"));
    setCentralWidget(canvas_);
    createActions();
    createMenus();
    createToolBars();
    createDocks();
    slideStatus_ = new QLabel(this);
    zoomStatus_ = new QLabel(this);
    statusBar()->addWidget(slideStatus_);
    statusBar()->addPermanentWidget(zoomStatus_);
    // F6 (or Shift+F6) goes from the slide to the list of slides and back, and from any other of
    // the program's windows (the palette) to the slide: without a mouse or a window manager's
    // window switching, the way back from the palette.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_F6), QKeySequence(Qt::SHIFT | Qt::Key_F6)}) {
        auto* panes = new QShortcut(key, this);
        panes->setContext(Qt::ApplicationShortcut);
        connect(panes, &QShortcut::activated, this, [this] {
            if (canvas_->hasFocus() && isActiveWindow()) {
                slideList_->setFocus(Qt::ShortcutFocusReason);
                return;
            }
            activateWindow();
            raise();
            // A window that stays on top (the palette) stays over this one where no window
            // manager keeps it there.
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top != this && top->isVisible() && top->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
                    top->raise();
            canvas_->setFocus(Qt::ShortcutFocusReason);
        });
    }
    fileWatch_ = new DocumentFileWatch(this);
    connect(fileWatch_, &DocumentFileWatch::stirred, this, &MainWindow::checkFileChangedElsewhere);
    // The first-minute hint comes back when a passing message (opening a file, a save) is over.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty() && !startHint_.isEmpty())
            QTimer::singleShot(0, this, [this] {
                if (!startHint_.isEmpty() && statusBar()->currentMessage().isEmpty())
                    showStartHint();
            });
    });

    if (services_.recovery != nullptr) {
        keeper_ = new QTimer(this);
        keeper_->setInterval(std::chrono::minutes(1));
        connect(keeper_, &QTimer::timeout, this, [this] { keepUnsavedWork(); });
        keeper_->start();
    }
    connect(canvas_, &SlideCanvas::documentChanged, this, &MainWindow::syncWithDocument);
    connect(canvas_, &SlideCanvas::refusedEdit, this, [this](const QString& reason) {
        services_.messages->inform(reason, kApplicationTitle, platform::MessageIcon::Exclamation);
    });
    connect(canvas_, &SlideCanvas::selectionChanged, this, &MainWindow::updateActions);
    // Delete acts on the slide list when it has the focus, else on the shapes selected.
    connect(qApp, &QApplication::focusChanged, this, [this] { updateActions(); });
    connect(canvas_, &SlideCanvas::zoomChanged, this, &MainWindow::updateStatus);
    connect(slideList_, &SlideList::slideChosen, this, &MainWindow::goToSlide);
    connect(slideList_, &SlideList::renameRequested, this, [this](int index, const QString& name) {
        // Let the list's editor close before a message box can open.
        QTimer::singleShot(0, this, [this, index, name] { renameSlide(index, name); });
    });
    connect(slideList_, &SlideList::moveRequested, this, [this](int from, int to) { moveSlide(from, to); });
    connect(slideList_, &SlideList::movesRequested, this, [this](const std::vector<int>& slides, int gap) { moveSlides(slides, gap); });

    services_.application->windowsChanged = [this] { followActiveWindow(); };
    // Changes made by add-ins arrive unannounced; look for them whenever the user interface goes
    // idle. The look is a few comparisons and touches nothing unless something moved on, so an
    // idle program stays asleep. In a nested loop (a message box in the middle of a command,
    // such as an import's "File read") the window only shows the document as it is: the undo
    // step is recorded once the command is over, so that one command is one undo step.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, [this] {
        if (QThread::currentThread()->loopLevel() > 1)
            showDocumentAsItIs();
        else if (documentMovedOn())
            syncWithDocument();
    });

    if (services_.application->ActiveWindow().IsNothing()) {
        host::Presentation first = host::NewPresentation();
        first.Slides().Add(1, host::LayoutBlank);
        first.SetSaved(true);
        services_.application->Open(first);
    }
    followActiveWindow();
    rebuildHostControls();
    rebuildRecentMenu();
    syncWithDocument();
}

MainWindow::~MainWindow()
{
    // A window deleted while it is shown and active is closed by QWidget's destructor, after
    // this object's own members are gone: the focus change that closing makes must not reach it.
    QObject::disconnect(qApp, nullptr, this, nullptr);
    services_.application->windowsChanged = nullptr;
    try {
        services_.application->CommandBars().Item(kStandardBar).shared()->changed = nullptr;
    } catch (const host::HostError&) {
    }
    for (Worker& worker : workers_)
        if (worker.thread.joinable())
            worker.thread.join();
}

// --- building the window ------------------------------------------------------------------

void MainWindow::createActions()
{
    auto make = [this](const QString& text, const QKeySequence& key, const QString& tip, auto slot) {
        auto* action = new QAction(text, this);
        if (!key.isEmpty())
            action->setShortcut(key);
        action->setStatusTip(tip);
        connect(action, &QAction::triggered, this, [this, slot] { guarded(*services_.messages, [&] { slot(); }); });
        return action;
    };
    newAction_ = make(tr("&New"), QKeySequence::New, tr("Start a new presentation"), [this] { newPresentation(); });
    newAction_->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    openAction_ = make(tr("&Open..."), QKeySequence::Open, tr("Open a presentation"), [this] { open(); });
    openAction_->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    saveAction_ = make(tr("&Save"), QKeySequence::Save, tr("Save the presentation"), [this] { save(); });
    saveAction_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    // Ctrl+S saves from the palette and the program's other windows too (not while a modal box
    // waits): the user drawing in the palette expects it to.
    saveAction_->setShortcutContext(Qt::ApplicationShortcut);
    // Not every desktop has a standard key for Save As: Ctrl+Shift+S everywhere.
    saveAsAction_ = make(tr("Save &As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), tr("Save the presentation under a new name"), [this] { saveAs(); });
    exitAction_ = make(tr("E&xit"), QKeySequence::Quit, tr("Close the program"), [this] { close(); });

    undoAction_ = make(tr("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), tr("Undo the last change"), [this] { undo(); });
    const QColor iconColour(50, 90, 160);
    undoAction_->setIcon(turnIcon(Turn::Back, iconColour));
    redoAction_ = make(tr("&Redo"), QKeySequence(Qt::CTRL | Qt::Key_Y), tr("Redo the change undone last"), [this] { redo(); });
    redoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    redoAction_->setIcon(turnIcon(Turn::Forward, iconColour));
    deleteAction_ = make(tr("&Delete"), QKeySequence::Delete, tr("Delete the selected shapes or slides"), [this] {
        if (slideList_->hasFocus())
            deleteSlides(slideList_->selectedSlides());
        else
            canvas_->deleteSelection();
    });
    deleteAction_->setObjectName(QStringLiteral("EditDelete"));
    editCommands_ = new ShapeEditCommands(*this, *services_.messages, services_.newNodeId);
    selectAllAction_ = make(tr("Select &All"), QKeySequence::SelectAll, tr("Select every shape of the slide"), [this] { canvas_->selectAll(); });
    selectAllAction_->setObjectName(QStringLiteral("EditSelectAll"));
    editTextAction_ = make(tr("Edit &Text"), QKeySequence(Qt::Key_F2), tr("Edit the text of the selected shape"), [this] {
        // F2 in the slide list renames the slide there, as Delete deletes slides there.
        if (slideList_->hasFocus()) {
            if (QListWidgetItem* item = slideList_->currentItem())
                slideList_->editItem(item);
            return;
        }
        const auto shapes = canvas_->selection();
        if (shapes.size() == 1 && shapes.front().HasTextFrame())
            canvas_->editText(shapes.front());
    });
    editTextAction_->setObjectName(QStringLiteral("EditText"));

    zoomInAction_ = make(tr("Zoom &In"), QKeySequence::ZoomIn, tr("Enlarge the slide"), [this] { canvas_->zoomIn(); });
    zoomInAction_->setShortcuts({QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    zoomOutAction_ = make(tr("Zoom &Out"), QKeySequence::ZoomOut, tr("Shrink the slide"), [this] { canvas_->zoomOut(); });
    fitAction_ = make(tr("&Fit Slide"), QKeySequence(Qt::CTRL | Qt::Key_0), tr("Show the whole slide"), [this] { canvas_->setFitWindow(true); });

    newSlideAction_ = make(tr("&New Slide"), QKeySequence(Qt::CTRL | Qt::Key_M), tr("Add a blank slide after this one"), [this] { addSlide(); });
    deleteSlideAction_ = make(tr("&Delete Slide"), QKeySequence(), tr("Delete the slides selected in the list"), [this] {
        deleteSlides(slideList_->selectedSlides());
    });
    renameSlideAction_ = make(tr("&Rename Slide"), QKeySequence(), tr("Rename the slide in view"), [this] {
        if (QListWidgetItem* item = slideList_->currentItem())
            slideList_->editItem(item);
    });
    slideUpAction_ = make(tr("Move Slide &Up"), QKeySequence(), tr("Move the slide one place up"), [this] {
        const int index = slideList_->currentRow() + 1;
        moveSlide(index, index - 1);
    });
    slideDownAction_ = make(tr("Move Slide Do&wn"), QKeySequence(), tr("Move the slide one place down"), [this] {
        const int index = slideList_->currentRow() + 1;
        moveSlide(index, index + 1);
    });
    previousSlideAction_ = make(tr("&Previous Slide"), QKeySequence(Qt::Key_PageUp), tr("Show the slide before"), [this] {
        goToSlide(slideList_->currentRow());
    });
    nextSlideAction_ = make(tr("Ne&xt Slide"), QKeySequence(Qt::Key_PageDown), tr("Show the slide after"), [this] {
        goToSlide(slideList_->currentRow() + 2);
    });
}

void MainWindow::createMenus()
{
    fileMenu_ = menuBar()->addMenu(tr("&File"));
    fileMenu_->addAction(newAction_);
    fileMenu_->addAction(openAction_);
    recentMenu_ = fileMenu_->addMenu(tr("Recent &Files"));
    fileMenu_->addSeparator();
    fileMenu_->addAction(saveAction_);
    fileMenu_->addAction(saveAsAction_);
    fileMenu_->addSeparator();
    fileMenu_->addAction(exitAction_);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(undoAction_);
    edit->addAction(redoAction_);
    edit->addSeparator();
    editCommands_->addTo(edit);
    edit->addAction(deleteAction_);
    edit->addSeparator();
    edit->addAction(selectAllAction_);
    edit->addAction(editTextAction_);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(zoomInAction_);
    view->addAction(zoomOutAction_);
    view->addAction(fitAction_);

    QMenu* slide = menuBar()->addMenu(tr("&Slide"));
    slide->addAction(newSlideAction_);
    slide->addAction(deleteSlideAction_);
    slide->addAction(renameSlideAction_);
    slide->addSeparator();
    slide->addAction(slideUpAction_);
    slide->addAction(slideDownAction_);
    slide->addSeparator();
    slide->addAction(previousSlideAction_);
    slide->addAction(nextSlideAction_);

    toolsMenu_ = menuBar()->addMenu(tr("&Tools"));
    hostControlsEnd_ = toolsMenu_->addSeparator(); // the host's controls go above it
}

void MainWindow::createToolBars()
{
    standardBar_ = addToolBar(kStandardBar);
    standardBar_->setObjectName(kStandardBar);
    standardBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    standardBar_->addAction(newAction_);
    standardBar_->addAction(openAction_);
    standardBar_->addAction(saveAction_);
    standardBar_->addSeparator();
    standardBar_->addAction(undoAction_);
    standardBar_->addAction(redoAction_);
    hostControlsStart_ = standardBar_->addSeparator(); // shown only before host controls
    // The host's "Standard" command bar: its controls (an add-in's buttons) follow here, and
    // the toolbar follows the bar whenever a control is added, changed or deleted.
    services_.application->CommandBars().Item(kStandardBar).shared()->changed = [this] {
        QTimer::singleShot(0, this, &MainWindow::rebuildHostControls);
    };
}

void MainWindow::createDocks()
{
    slideList_ = new SlideList(this);
    slideList_->setObjectName(QStringLiteral("SlideList"));
    slideList_->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (QAction* a : {newSlideAction_, deleteSlideAction_, renameSlideAction_, slideUpAction_, slideDownAction_})
        slideList_->addAction(a);
    auto* dock = new QDockWidget(tr("Slides"), this);
    dock->setObjectName(QStringLiteral("SlidesDock"));
    dock->setFeatures(QDockWidget::DockWidgetMovable);
    dock->setWidget(slideList_);
    dock->setMinimumWidth(SlideList::kThumbnailSize.width() + 120);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
}

void MainWindow::rebuildHostControls()
{
    for (QAction* a : hostActions_) {
        standardBar_->removeAction(a);
        toolsMenu_->removeAction(a);
        a->deleteLater();
    }
    hostActions_.clear();
    const host::CommandBar bar = services_.application->CommandBars().Item(kStandardBar);
    for (const auto& control : bar.shared()->controls) {
        if (!control->visible)
            continue;
        auto* action = new QAction(control->caption, this);
        action->setObjectName(QStringLiteral("HostControl:") + control->tag);
        action->setToolTip(control->toolTip.isEmpty() ? control->caption : control->toolTip);
        const std::weak_ptr<host::ControlData> weakControl = control;
        const std::weak_ptr<host::CommandBarData> weakBar = bar.shared();
        const auto execute = [this, weakControl, weakBar] {
            // The first-minute hint has been followed: it goes.
            if (!startHint_.isEmpty()) {
                const bool showing = statusBar()->currentMessage() == startHint_;
                startHint_.clear();
                if (showing)
                    statusBar()->clearMessage();
            }
            guarded(*services_.messages, [&] {
                const host::CommandBarButton button(weakControl, weakBar);
                if (!button.IsNothing())
                    button.Execute();
            });
            syncWithDocument();
        };
        connect(action, &QAction::triggered, this, execute);
        standardBar_->addAction(action);
        hostActions_.push_back(action);
        // The same command at the top of the Tools menu, reached from the keyboard through the
        // caption's first letter (Alt+T, then that letter).
        QString caption = control->caption;
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* item = new QAction(QLatin1Char('&') + caption, this);
        item->setObjectName(QStringLiteral("HostMenuItem:") + control->tag);
        item->setStatusTip(action->toolTip());
        connect(item, &QAction::triggered, this, execute);
        toolsMenu_->insertAction(hostControlsEnd_, item);
        hostActions_.push_back(item);
    }
    hostControlsStart_->setVisible(!hostActions_.empty());
    hostControlsEnd_->setVisible(!hostActions_.empty());
    // What a new user looks for first: where drawing starts. Told once, for a minute, when the
    // add-in's button has come.
    if (!hostActions_.empty() && !startHintShown_) {
        startHintShown_ = true;
        startHintCaption_ = hostActions_.front()->text();
        startHintUntil_ = QDeadlineTimer(std::chrono::minutes(1));
        showStartHint();
    }
}

// The hint in full, or in short when the status line is too narrow for it (a small window, a
// large scale factor), so that it is never cut off.
void MainWindow::showStartHint()
{
    if (startHintUntil_.hasExpired()) {
        startHint_.clear();
        return;
    }
    const QString full = tr("To draw a conceptual graph, press %1 on the toolbar (or Tools > %1) to open its palette")
                             .arg(startHintCaption_);
    const int room = statusBar()->width() - zoomStatus_->sizeHint().width() - 3 * statusBar()->fontMetrics().height();
    startHint_ = statusBar()->fontMetrics().horizontalAdvance(full) <= room
        ? full
        : tr("To draw a graph, press %1 (Tools > %1)").arg(startHintCaption_);
    statusBar()->showMessage(startHint_, static_cast<int>(std::max<qint64>(1, startHintUntil_.remainingTime())));
}

void MainWindow::rebuildRecentMenu()
{
    recentMenu_->clear();
    const QStringList files = recent_.files();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setToolTip(path);
        action->setStatusTip(path);
        connect(action, &QAction::triggered, this, [this, path] {
            if (!QFileInfo::exists(path)) {
                showError(tr("Cannot open \"%1\": the file does not exist.").arg(path));
                recent_.remove(path);
                rebuildRecentMenu();
                return;
            }
            guarded(*services_.messages, [&] { openFile(path); });
        });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

// --- following the document ---------------------------------------------------------------

DocumentHistory* MainWindow::history() const
{
    if (window_.IsNothing())
        return nullptr;
    const auto it = histories_.find(window_.Presentation().shared().get());
    return it == histories_.end() ? nullptr : it->second.get();
}

host::Presentation MainWindow::presentation() const
{
    return window_.IsNothing() ? host::Presentation() : window_.Presentation();
}

void MainWindow::followActiveWindow()
{
    const host::DocumentWindow active = services_.application->ActiveWindow();
    // Forget the histories of presentations that are no longer open.
    for (auto it = histories_.begin(); it != histories_.end();) {
        const bool open = std::any_of(services_.application->Windows().begin(), services_.application->Windows().end(),
                                      [&](const host::DocumentWindow& w) { return w.Presentation().shared().get() == it->first; });
        it = open ? std::next(it) : histories_.erase(it);
    }
    if (active.shared() == window_.shared())
        return;
    window_ = active;
    seenRevision_ = static_cast<std::uint64_t>(-1);
    seenSlide_ = nullptr;
    if (window_.IsNothing()) {
        canvas_->setDocument({}, nullptr);
        slideList_->setPresentation({});
    } else {
        auto& history = histories_[window_.Presentation().shared().get()];
        if (!history)
            history = std::make_unique<DocumentHistory>(window_.Presentation());
        canvas_->setDocument(window_, history.get());
        slideList_->setPresentation(window_.Presentation());
    }
    QTimer::singleShot(0, this, &MainWindow::syncWithDocument);
}

void MainWindow::syncWithDocument()
{
    if (syncing_)
        return;
    syncing_ = true;
    followActiveWindow();
    if (!window_.IsNothing()) {
        const host::PresentationData& document = window_.Presentation().data();
        const host::SlideData* slide = nullptr;
        try {
            slide = &window_.View().Slide().data();
        } catch (const host::HostError&) {
        }
        const bool changed = document.revision != seenRevision_;
        if (changed && !canvas_->isDragging() && !canvas_->isEditingText())
            history()->record();
        else if (!changed)
            history()->noteViewAtRest();
        if (changed || slide != seenSlide_) {
            canvas_->refresh();
            slideList_->refresh(slide);
        }
        seenRevision_ = document.revision;
        seenSlide_ = slide;
    }
    updateTitle();
    updateActions();
    updateStatus();
    // Back at the saved state (undone, or saved): no copy of unsaved work is left to recover.
    if (keptRevision_ && !isWindowModified())
        dropKeptWork();
    syncing_ = false;
}

void MainWindow::showDocumentAsItIs()
{
    if (window_.IsNothing() || services_.application->ActiveWindow().shared() != window_.shared() ||
        canvas_->isDragging() || canvas_->isEditingText())
        return;
    const host::SlideData* slide = nullptr;
    try {
        slide = &window_.View().Slide().data();
    } catch (const host::HostError&) {
    }
    const std::uint64_t revision = window_.Presentation().data().revision;
    if (revision == shownRevision_ && slide == shownSlide_)
        return;
    shownRevision_ = revision;
    shownSlide_ = slide;
    if (revision == seenRevision_ && slide == seenSlide_)
        return; // shown already
    canvas_->refresh();
    slideList_->refresh(slide);
    updateStatus();
}

bool MainWindow::documentMovedOn() const
{
    if (services_.application->ActiveWindow().shared() != window_.shared())
        return true;
    if (window_.IsNothing())
        return false;
    const host::Presentation p = window_.Presentation();
    if (p.data().revision != seenRevision_ || p.Saved() == isWindowModified())
        return true;
    const std::shared_ptr<host::SlideData> slide = window_.data().slide.lock();
    const host::SlideData* inView = slide && slide->presentation ? slide.get() : nullptr;
    if (!inView) {
        try {
            inView = &window_.View().Slide().data(); // the window moves on to the first slide
        } catch (const host::HostError&) {
            // a presentation without slides
        }
    }
    return inView != seenSlide_;
}

QString MainWindow::documentName() const
{
    if (window_.IsNothing())
        return {};
    const host::Presentation p = window_.Presentation();
    if (!p.FullName().isEmpty())
        return QFileInfo(p.FullName()).fileName();
    if (!proposedPath_.isEmpty())
        return QFileInfo(proposedPath_).fileName();
    auto& numbers = const_cast<MainWindow*>(this)->untitledNumbers_;
    auto it = numbers.find(p.shared().get());
    if (it == numbers.end())
        it = numbers.emplace(p.shared().get(), const_cast<MainWindow*>(this)->nextUntitled_++).first;
    return QStringLiteral("Presentation%1").arg(it->second);
}

void MainWindow::watchDocumentFile()
{
    if (fileWatch_->watch(window_.IsNothing() ? QString() : window_.Presentation().FullName()))
        toldChange_.reset();
}

// Another program's version of the document's file is told once: with nothing unsaved it is
// offered in place of the one shown; with unsaved changes the user learns that Save would refuse.
void MainWindow::checkFileChangedElsewhere()
{
    const QString watched = fileWatch_->path();
    if (watched.isEmpty() || window_.IsNothing() || window_.Presentation().FullName() != watched)
        return;
    // Not over another box: told once it is closed (nothing is polled meanwhile).
    if (QWidget* box = QApplication::activeModalWidget()) {
        checkWhenClosed(box);
        return;
    }
    // A version told already is not read again for its digest at every stir of a busy folder.
    const platform::FileStamp now = platform::StampOf(watched);
    if (toldChange_ && now == *toldChange_)
        return;
    if (!now.exists) {
        // Moved or deleted: a save writes the document there again, which the user should know.
        toldChange_ = now;
        statusBar()->showMessage(
            tr("\"%1\" was moved or deleted by another program: Save writes it again where it was, Save As elsewhere")
                .arg(QFileInfo(watched).fileName()));
        return;
    }
    const std::optional<platform::FileStamp> changed = services_.store->changedElsewhere(watched);
    if (!changed || changed == toldChange_)
        return;
    toldChange_ = changed;
    const QString name = QFileInfo(watched).fileName();
    if (!window_.Presentation().Saved()) {
        services_.messages->inform(tr("\"%1\" was changed by another program. Your changes here are not saved, and Save "
                                      "would not replace the other program's version: use Save As to keep them under "
                                      "another name.")
                                       .arg(name),
                                   kApplicationTitle, platform::MessageIcon::Exclamation);
        return;
    }
    const platform::Message question{
        tr("\"%1\" was changed by another program. Open the changed version?").arg(name), kApplicationTitle,
        platform::MessageIcon::Question, platform::MessageButtons::YesNo, 1};
    if (services_.messages->show(question) != platform::MessageAnswer::Yes)
        return;
    const host::Presentation changedVersion = readWithProgress(watched);
    if (!changedVersion.IsNothing())
        replaceDocument(changedVersion);
}

namespace {

// Calls `then` once the box it watches has been hidden (closed or deleted), after the events of
// its closing.
class BoxClosedWatch : public QObject {
public:
    BoxClosedWatch(QWidget* box, QObject* owner, std::function<void()> then) : QObject(owner), then_(std::move(then))
    {
        box->installEventFilter(this);
        connect(box, &QObject::destroyed, this, [this] { fire(); });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            fire();
        return false;
    }

private:
    void fire()
    {
        if (fired_)
            return;
        fired_ = true;
        QTimer::singleShot(0, parent(), then_);
        deleteLater();
    }
    std::function<void()> then_;
    bool fired_ = false;
};

} // namespace

void MainWindow::checkWhenClosed(QWidget* box)
{
    if (boxWatched_ == box)
        return; // already waited for
    boxWatched_ = box;
    new BoxClosedWatch(box, this, [this] {
        boxWatched_ = nullptr;
        checkFileChangedElsewhere(); // over the next box, if another is open: waits for that one
    });
}

void MainWindow::updateTitle()
{
    watchDocumentFile();
    if (window_.IsNothing()) {
        setWindowTitle(kApplicationTitle);
        if (isWindowModified())
            setWindowModified(false);
        return;
    }
    // A file that cannot be saved over says so from the start, not only when a save fails.
    const QString path = window_.Presentation().FullName();
    const QString readOnly = !path.isEmpty() && platform::IsReadOnlyFile(path) ? QStringLiteral(" (read-only)") : QString();
    setWindowTitle(documentName() + readOnly + QStringLiteral("[*] - ") + kApplicationTitle);
    // Setting the flag rewrites the title on the screen even when it does not change.
    const bool modified = !window_.Presentation().Saved();
    if (modified != isWindowModified())
        setWindowModified(modified);
}

void MainWindow::updateActions()
{
    const DocumentHistory* h = history();
    undoAction_->setEnabled(h && h->canUndo());
    redoAction_->setEnabled(h && h->canRedo());
    const bool haveDocument = !window_.IsNothing();
    const int slides = haveDocument ? window_.Presentation().Slides().Count() : 0;
    const int current = slideList_->currentRow() + 1;
    for (QAction* a : {saveAction_, saveAsAction_, newSlideAction_})
        a->setEnabled(haveDocument);
    deleteSlideAction_->setEnabled(current >= 1);
    renameSlideAction_->setEnabled(current >= 1);
    slideUpAction_->setEnabled(current > 1);
    slideDownAction_->setEnabled(current >= 1 && current < slides);
    previousSlideAction_->setEnabled(current > 1);
    nextSlideAction_->setEnabled(current >= 1 && current < slides);
    editTextAction_->setEnabled(canvas_->selection().size() == 1);
    deleteAction_->setEnabled(slideList_->hasFocus() ? current >= 1 : !canvas_->selection().empty());
}

void MainWindow::updateStatus()
{
    const int slides = window_.IsNothing() ? 0 : window_.Presentation().Slides().Count();
    const int current = slideList_->currentRow() + 1;
    slideStatus_->setText(slides == 0 ? tr("No slides") : tr("Slide %1 of %2").arg(current).arg(slides));
    zoomStatus_->setText(QStringLiteral("%1%").arg(std::lround(canvas_->zoomPercent())));
}

void MainWindow::showError(const QString& text)
{
    services_.messages->inform(text, kApplicationTitle, platform::MessageIcon::Critical);
}

// --- file commands ------------------------------------------------------------------------

bool MainWindow::maybeSave()
{
    if (canvas_->isEditingText())
        canvas_->finishTextEdit(true);
    syncWithDocument();
    if (window_.IsNothing() || window_.Presentation().Saved())
        return true;
    const platform::Message question{tr("Do you want to save the changes you made to %1?").arg(documentName()),
                                     kApplicationTitle, platform::MessageIcon::Exclamation,
                                     platform::MessageButtons::YesNoCancel, 1};
    switch (services_.messages->show(question)) {
    case platform::MessageAnswer::Yes:
        return save();
    case platform::MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

void MainWindow::replaceDocument(host::Presentation presentation)
{
    signatureTold_ = false;
    proposedPath_.clear(); // a name proposed at start was for the document it replaces
    // Where the document came from is no longer news once another takes its place.
    if (statusBar()->currentMessage().startsWith(tr("Recovered work opened from")))
        statusBar()->clearMessage();
    const host::DocumentWindow old = window_;
    services_.application->Open(presentation);
    if (!old.IsNothing()) {
        try {
            services_.application->Close(old);
        } catch (const host::HostError&) {
            // an add-in closed it already
        }
    }
    followActiveWindow();
    syncWithDocument();
    // The document closed, with its history, may have held a gigabyte: once the events that
    // still refer to it have run, that memory goes back to the system.
    QTimer::singleShot(0, this, [] { platform::ReturnFreedMemory(); });
}

bool MainWindow::newPresentation()
{
    if (!maybeSave())
        return false;
    host::Presentation p = host::NewPresentation();
    p.Slides().Add(1, host::LayoutBlank);
    p.SetSaved(true);
    replaceDocument(p);
    return true;
}

bool MainWindow::open()
{
    platform::FileDialogRequest request;
    request.filter = kFileFilter;
    request.filterIndex = 2; // every kind of presentation: a slide show or a deck with macros opens too
    request.defaultExt = QStringLiteral(".pptx");
    const QString current = window_.IsNothing() ? QString() : window_.Presentation().FullName();
    request.initDir = current.isEmpty() ? QDir::homePath() : QFileInfo(current).absolutePath();
    const auto path = services_.dialogs->ShowOpen(request);
    if (!path)
        return false;
    return openFile(*path);
}

bool MainWindow::openOrStartFile(const QString& path)
{
    const QFileInfo file(path);
    if (file.exists() || !file.absoluteDir().exists())
        return openFile(path);
    if (!newPresentation())
        return false;
    proposedPath_ = file.absoluteFilePath();
    if (!host::pptx::kindOfFileName(proposedPath_))
        proposedPath_ += QStringLiteral(".pptx");
    updateTitle();
    statusBar()->showMessage(tr("%1 does not exist yet: this new presentation is saved there when you save it")
                                 .arg(QFileInfo(proposedPath_).fileName()));
    return true;
}

bool MainWindow::openFile(const QString& path)
{
    if (!maybeSave())
        return false;
    const host::Presentation p = readWithProgress(path);
    if (p.IsNothing())
        return false;
    replaceDocument(p);
    recent_.add(path);
    rebuildRecentMenu();
    return true;
}

host::Presentation MainWindow::readWithProgress(const QString& path)
{
    struct Task {
        std::shared_ptr<std::atomic<bool>> done = std::make_shared<std::atomic<bool>>(false);
        std::atomic<bool> abandoned = false; // the open was cancelled: the result goes unused
        host::Presentation result;
        QString error;
    };
    // Readers left behind by a cancelled open are joined once they are done.
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (*it->done) {
            it->thread.join();
            it = workers_.erase(it);
            platform::ReturnFreedMemory(); // a result it had not let go of when cancelled
        } else {
            ++it;
        }
    }
    auto task = std::make_shared<Task>();
    DocumentStore* store = services_.store;
    std::thread worker([task, store, path] {
        try {
            task->result = store->read(path);
        } catch (const host::HostError& e) {
            task->error = QString::fromStdString(e.what());
        } catch (const std::exception& e) {
            task->error = QStringLiteral("Cannot open \"%1\": %2").arg(path, QString::fromStdString(e.what()));
        }
        // A document read for a cancelled open goes at once, and so does the memory it took: it
        // may be hundreds of megabytes, held by the reading thread's heap.
        if (task->abandoned) {
            task->result = host::Presentation();
            platform::ReturnFreedMemory();
        }
        *task->done = true;
    });

    QProgressDialog progress(tr("Opening %1...").arg(QFileInfo(path).fileName()), tr("Cancel"), 0, 0, this);
    progress.setObjectName(QStringLiteral("OpenProgress"));
    progress.setWindowTitle(kApplicationTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(std::numeric_limits<int>::max());
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    // Quick reads show nothing; a slow one shows the dialog after a moment.
    QTimer showLater;
    showLater.setSingleShot(true);
    connect(&showLater, &QTimer::timeout, &progress, &QProgressDialog::show);
    showLater.start(400);
    QEventLoop loop;
    bool cancelled = false;
    connect(&progress, &QProgressDialog::canceled, &loop, [&] {
        cancelled = true;
        loop.quit();
    });
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (*task->done)
            loop.quit();
    });
    poll.start();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    // Said at once, while the dialog waits for its moment: the window still shows the document
    // it had, and should not look as if the file had failed to open.
    statusBar()->showMessage(tr("Opening %1...").arg(QFileInfo(path).fileName()));
    if (!*task->done)
        loop.exec();
    statusBar()->clearMessage();
    QApplication::restoreOverrideCursor();
    poll.stop();
    showLater.stop();
    progress.reset();
    progress.hide(); // gone before any message about the file shows

    if (*task->done) {
        worker.join();
    } else {
        task->abandoned = true; // the reader drops its result when it is done
        workers_.push_back({std::move(worker), task->done});
        return {};
    }
    if (cancelled) {
        task->result = host::Presentation();
        platform::ReturnFreedMemory();
        return {};
    }
    if (!task->error.isEmpty()) {
        showError(task->error);
        return {};
    }
    return task->result;
}

bool MainWindow::save()
{
    if (window_.IsNothing())
        return false;
    const QString path = window_.Presentation().FullName();
    if (path.isEmpty())
        return saveAs();
    return saveTo(path);
}

bool MainWindow::saveAs()
{
    if (window_.IsNothing())
        return false;
    platform::FileDialogRequest request;
    request.filter = kFileFilter;
    request.filterIndex = 1;
    request.defaultExt = QStringLiteral(".pptx");
    // The file's own name, or the one proposed at start for a new presentation.
    const QString fullName = window_.Presentation().FullName();
    const QString current = fullName.isEmpty() ? proposedPath_ : fullName;
    request.initDir = current.isEmpty() ? QDir::homePath() : QFileInfo(current).absolutePath();
    request.fileName = current.isEmpty() ? documentName() + QStringLiteral(".pptx") : QFileInfo(current).fileName();
    const auto chosen = services_.dialogs->ShowSave(request);
    if (!chosen)
        return false;
    QString path = *chosen;
    // A name of another kind of presentation (".pptm", ".ppsx", ...) is saved as that kind.
    if (!host::pptx::kindOfFileName(path)) {
        path += QStringLiteral(".pptx");
        // The dialog asked about the name as typed; the name saved to is another one.
        if (QFileInfo::exists(path)) {
            const platform::Message question{tr("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(path).fileName()),
                                             kApplicationTitle, platform::MessageIcon::Exclamation,
                                             platform::MessageButtons::YesNo, 2};
            if (services_.messages->show(question) != platform::MessageAnswer::Yes)
                return false;
        }
    }
    // The user chose to replace the file: whatever became of it since it was read.
    return saveTo(path, DocumentStore::Replace::AnyVersion);
}

bool MainWindow::saveTo(const QString& path, DocumentStore::Replace replace)
{
    if (window_.IsNothing())
        return false;
    if (canvas_->isEditingText())
        canvas_->finishTextEdit(true);
    syncWithDocument();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A large presentation takes seconds to save, with the window blocked meanwhile: say so
    // first, and let the window (and the question that asked for the save) repaint.
    statusBar()->showMessage(tr("Saving %1...").arg(QFileInfo(path).fileName()));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const bool signatureBroken = SaveBreaksSignature(window_.Presentation());
    try {
        services_.store->write(
            window_.Presentation(), path,
            [this, &path] {
                // Another program (an import into the file) holds it: the wait is not the save's.
                statusBar()->showMessage(DocumentLock::waitStatus(path));
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            },
            replace);
    } catch (const std::exception& e) {
        statusBar()->clearMessage();
        QApplication::restoreOverrideCursor();
        showError(QString::fromStdString(e.what()));
        return false;
    }
    statusBar()->clearMessage();
    QApplication::restoreOverrideCursor();
    platform::ReturnFreedMemory(); // the package written, as large as the document, is gone
    if (DocumentHistory* h = history())
        h->markSaved();
    seenRevision_ = window_.Presentation().data().revision;
    recent_.add(path);
    rebuildRecentMenu();
    syncWithDocument();
    if (signatureBroken && !signatureTold_) {
        signatureTold_ = true; // once for a document: its signature stays broken
        services_.messages->inform(SignatureNoLongerMatches(QFileInfo(path).fileName()), kApplicationTitle,
                                   platform::MessageIcon::Exclamation);
    }
    return true;
}

void MainWindow::dropKeptWork()
{
    if (services_.recovery != nullptr)
        services_.recovery->Drop();
    keptRevision_.reset();
}

void MainWindow::keepUnsavedWork(bool ending)
{
    if (services_.recovery == nullptr)
        return;
    // Ended from outside, a label being typed is part of the work, as it is when the window closes.
    if (ending && canvas_->isEditingText())
        canvas_->finishTextEdit(true);
    // The document's own flag, not the window's: while a command's message box is open ("File
    // read" after an import) the window has not caught up with the command's changes yet.
    if (window_.IsNothing() || window_.Presentation().Saved()) {
        if (keptRevision_)
            dropKeptWork();
        return;
    }
    const host::Presentation presentation = window_.Presentation();
    const std::uint64_t revision = presentation.data().revision;
    if (keptRevision_ == revision)
        return;
    QElapsedTimer took;
    took.start();
    QByteArray bytes;
    bool kept = false;
    try {
        bytes = host::presentationBytes(presentation);
        kept = services_.recovery->Keep(bytes, presentation.FullName());
    } catch (const std::exception&) {
    }
    if (kept) {
        keptRevision_ = revision;
    } else if (ending && !bytes.isEmpty()) {
        // The last chance: the work goes where the next start would have offered to put it.
        QString problem;
        RecoveryFolder::SaveRecovered(bytes, presentation.FullName(), QDir::homePath(), problem);
    } else if (!ending) {
        // Tried again at the next turn; meanwhile the user knows that only a save keeps the work.
        statusBar()->showMessage(tr("Unsaved work could not be copied for recovery (is the drive full?): save it to keep it"),
                                 30000);
    }
    // The copy is made while the window waits: a presentation that takes long to write is kept
    // less often, so that the waits stay under a fiftieth of the time.
    if (keeper_ != nullptr)
        keeper_->setInterval(static_cast<int>(std::clamp<qint64>(50 * took.elapsed(), 60000, 30 * 60000)));
}

void MainWindow::offerRecoveredWork(bool mayOpen)
{
    if (services_.recovery == nullptr)
        return;
    services_.recovery->RemoveLeftovers();
    QStringList savedElsewhere;
    bool opened = false;
    for (const RecoveryFolder::Left& left : services_.recovery->LeftBehind()) {
        if (!QFileInfo::exists(left.copy))
            continue; // another editor starting at the same time took it
        const QString name = left.source.isEmpty() ? tr("a new presentation") : QStringLiteral("\"%1\"").arg(left.source);
        const QString where = left.source.isEmpty() ? tr("\"Presentation (recovered).pptx\", in your home folder")
                                                    : tr("\"... (recovered).pptx\", beside the file it is the work of");
        const platform::Message question{
            tr("ZOVEdit did not end properly. Unsaved work from %1 on %2 was kept.\n\n"
               "Yes makes it a file of its own (%3), No throws it away, Cancel keeps it for the next start.")
                .arg(QLocale().toString(left.kept, QLocale::ShortFormat), name, where),
            kApplicationTitle, platform::MessageIcon::Question, platform::MessageButtons::YesNoCancel, 1};
        const platform::MessageAnswer answer = services_.messages->show(question);
        if (answer == platform::MessageAnswer::No) {
            RecoveryFolder::Discard(left);
            continue;
        }
        if (answer != platform::MessageAnswer::Yes)
            continue;
        QString problem;
        const QString restored = RecoveryFolder::Restore(left, QDir::homePath(), problem);
        if (restored.isEmpty()) {
            showError(tr("The kept work could not be copied out of \"%1\": %2").arg(left.copy, problem));
        } else if (mayOpen && !opened) {
            opened = openFile(restored);
            if (opened) {
                RecoveryFolder::Discard(left);
                statusBar()->showMessage(tr("Recovered work opened from %1").arg(restored));
            } else {
                QFile::remove(restored); // damaged: the copy stays, to be thrown away with No
            }
        } else {
            RecoveryFolder::Discard(left);
            savedElsewhere << restored;
        }
    }
    if (!savedElsewhere.isEmpty())
        services_.messages->inform(tr("The kept work was saved as:\n%1\n\nOpen it with File > Open.").arg(savedElsewhere.join(u'\n')),
                                   kApplicationTitle, platform::MessageIcon::Information);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (maybeSave()) {
        dropKeptWork();
        const QSize size = isMaximized() || isFullScreen() ? normalGeometry().size() : this->size();
        services_.settings->setValue(kSettingsApplication, kWindowSection, kSizeKey,
                                     QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
        event->accept();
        Q_EMIT closed();
    } else
        event->ignore();
}

// --- slides -------------------------------------------------------------------------------

bool MainWindow::addSlide()
{
    if (window_.IsNothing())
        return false;
    host::Slides slides = window_.Presentation().Slides();
    const int index = std::clamp(slideList_->currentRow() + 2, 1, slides.Count() + 1);
    slides.Add(index, host::LayoutBlank);
    window_.View().GotoSlide(index);
    syncWithDocument();
    return true;
}

bool MainWindow::deleteSlide(int index)
{
    return deleteSlides({index});
}

namespace {
// The 1-based positions among `count` slides, each once and ascending; others are passed over.
std::vector<int> slidePositions(std::vector<int> indexes, int count)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    std::erase_if(indexes, [count](int index) { return index < 1 || index > count; });
    return indexes;
}
} // namespace

// All in one step: the last first, so that the numbers of the others stay what they were.
bool MainWindow::deleteSlides(std::vector<int> indexes)
{
    if (window_.IsNothing())
        return false;
    host::Slides slides = window_.Presentation().Slides();
    indexes = slidePositions(std::move(indexes), slides.Count());
    if (indexes.empty())
        return false;
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
        slides.Item(*it).Delete();
    syncWithDocument();
    return true;
}

bool MainWindow::renameSlide(int index, const QString& name)
{
    if (window_.IsNothing())
        return false;
    host::Slides slides = window_.Presentation().Slides();
    if (index < 1 || index > slides.Count())
        return false;
    host::Slide slide = slides.Item(index);
    bool renamed = false;
    if (name.trimmed().isEmpty()) {
        services_.messages->inform(tr("A slide name cannot be empty."), kApplicationTitle, platform::MessageIcon::Exclamation);
    } else if (slide.Name() != name) {
        try {
            const QString old = slide.Name();
            slide.SetName(name);
            renamed = true;
            renameGraphTitle(slide, old, name);
        } catch (const host::HostError&) {
            services_.messages->inform(tr("The slide name \"%1\" is already in use. Choose another name.").arg(name),
                                       kApplicationTitle, platform::MessageIcon::Exclamation);
        }
    }
    const host::SlideData* current = seenSlide_;
    syncWithDocument();
    slideList_->refresh(current); // puts a refused name back
    return renamed;
}

// A graph slide's title label is renamed with its slide, so that the title shown and the graph
// name exported stay one.
void MainWindow::renameGraphTitle(host::Slide slide, const QString& oldName, const QString& newName)
{
    host::Shapes shapes = slide.Shapes();
    for (int i = 1; i <= shapes.Count(); ++i) {
        host::Shape title = shapes.Item(i);
        if (title.AutoShapeType() != drawing::TitleLabelShapeType)
            continue;
        drawing::RenameGraphTitle(title, oldName, newName);
        return;
    }
}

bool MainWindow::moveSlide(int from, int to)
{
    if (window_.IsNothing())
        return false;
    host::Slides slides = window_.Presentation().Slides();
    if (from < 1 || from > slides.Count() || to < 1 || to > slides.Count() || from == to)
        return false;
    slides.Move(from, to);
    window_.View().GotoSlide(to);
    syncWithDocument();
    return true;
}

// The slides keep their order and come together at the gap, in one step. Those above the gap
// go there last first, each just above the ones placed before it; those below it first first,
// each just below: so every move leaves the slides already placed where they are.
bool MainWindow::moveSlides(std::vector<int> indexes, int gap)
{
    if (window_.IsNothing())
        return false;
    host::Slides slides = window_.Presentation().Slides();
    indexes = slidePositions(std::move(indexes), slides.Count());
    gap = std::clamp(gap, 0, slides.Count());
    if (indexes.empty())
        return false;
    std::vector<host::Slide> above, below;
    for (const int index : indexes)
        (index <= gap ? above : below).push_back(slides.Item(index));
    const host::Slide shown = window_.View().Slide();
    bool moved = false;
    int placed = 0;
    for (auto it = above.rbegin(); it != above.rend(); ++it, ++placed) {
        const int from = it->SlideIndex();
        const int to = gap - placed;
        if (from != to) {
            slides.Move(from, to);
            moved = true;
        }
    }
    placed = 0;
    for (auto it = below.begin(); it != below.end(); ++it, ++placed) {
        const int from = it->SlideIndex();
        const int to = gap + 1 + placed;
        if (from != to) {
            slides.Move(from, to);
            moved = true;
        }
    }
    if (!moved)
        return false;
    if (!shown.IsNothing())
        window_.View().GotoSlide(shown.SlideIndex());
    syncWithDocument();
    return true;
}

void MainWindow::goToSlide(int index)
{
    if (window_.IsNothing())
        return;
    if (index < 1 || index > window_.Presentation().Slides().Count())
        return;
    if (canvas_->isEditingText())
        canvas_->finishTextEdit(true);
    window_.View().GotoSlide(index);
    syncWithDocument();
}

// --- undo ---------------------------------------------------------------------------------

void MainWindow::undo()
{
    if (canvas_->isEditingText())
        canvas_->finishTextEdit(true);
    if (DocumentHistory* h = history())
        showingSlidesBroughtBack([h] { h->undo(); });
    syncWithDocument();
}

void MainWindow::redo()
{
    if (canvas_->isEditingText())
        canvas_->finishTextEdit(true);
    if (DocumentHistory* h = history())
        showingSlidesBroughtBack([h] { h->redo(); });
    syncWithDocument();
}

// A slide that an undo or redo brings back (a deletion undone, an addition redone) is shown,
// as the step it undoes showed it.
void MainWindow::showingSlidesBroughtBack(const std::function<void()>& step)
{
    std::unordered_set<const host::SlideData*> before;
    if (!window_.IsNothing()) {
        const host::Slides slides = window_.Presentation().Slides();
        for (int i = 1; i <= slides.Count(); ++i)
            before.insert(&slides.Item(i).data());
    }
    step();
    if (window_.IsNothing())
        return;
    const host::Slides slides = window_.Presentation().Slides();
    for (int i = 1; i <= slides.Count(); ++i) {
        if (before.count(&slides.Item(i).data()) == 0) {
            window_.View().GotoSlide(i);
            return;
        }
    }
}

} // namespace zov::app
