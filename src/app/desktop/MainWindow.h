#pragma once
// The host's main window: menus, the "Standard" toolbar, the slide list and the slide canvas
// of the active document window, the title with the file name and a modified mark.
//
// It shows whatever presentation is active in the host Application, and follows when an add-in
// opens or changes one: whenever the event loop is about to wait, the window compares the
// document's revision with the one it last saw, records a new undo step when they differ, and
// redraws. Its own edits (canvas, slide list, menus) record their step as they finish.
//
// One presentation at a time is shown: New and Open replace it after offering to save it.
#include "app/desktop/DocumentFileWatch.h"
#include "app/document/DocumentHistory.h"
#include "app/document/DocumentStore.h"
#include "app/document/RecentFiles.h"
#include "app/document/RecoveryFolder.h"
#include "host/Application.h"

#include <QDeadlineTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace zov::platform {
class CommonDialog;
class MessageBoxes;
class SettingsStore;
} // namespace zov::platform

namespace zov::app {

class ShapeEditCommands;
class SlideCanvas;
class SlideList;

// What the main window borrows; everything must outlive it.
struct MainWindowServices {
    host::Application* application = nullptr;
    platform::MessageBoxes* messages = nullptr;
    platform::CommonDialog* dialogs = nullptr;
    platform::SettingsStore* settings = nullptr; // recent files
    DocumentStore* store = nullptr;
    // Fresh node ids for pasted node shapes (the editor session's sequence); empty: the Edit
    // commands keep a sequence of their own.
    std::function<QString()> newNodeId;
    // Where copies of unsaved work are kept; null: none are.
    RecoveryFolder* recovery = nullptr;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // File commands. Each returns true when it did what was asked (false: cancelled or failed,
    // with a message for a failure).
    bool newPresentation();
    bool open();                         // asks for the file
    bool openFile(const QString& path);  // offers to save the present document first
    // The file named at start: opened, or when it does not exist yet (in a folder that does), a
    // new presentation whose first save proposes that name and folder.
    bool openOrStartFile(const QString& path);
    bool save();
    bool saveAs();
    bool saveTo(const QString& path, DocumentStore::Replace replace = DocumentStore::Replace::SameVersionOnly);
    // Offers to save unsaved changes: true to go on (saved or not wanted), false to stop.
    bool maybeSave();

    // Slide commands (1-based indices).
    bool addSlide();
    bool deleteSlide(int index);
    // Deletes the slides at these 1-based positions (out-of-range ones are passed over) as one
    // undo step; false when none was deleted.
    bool deleteSlides(std::vector<int> indexes);
    // Moves the slides at these 1-based positions, in their order, to the gap before slide
    // `gap` + 1 (0: the start; the slide count: the end) as one undo step; false when nothing moved.
    bool moveSlides(std::vector<int> indexes, int gap);
    bool renameSlide(int index, const QString& name); // a name in use is refused with a message
    bool moveSlide(int from, int to);
    void goToSlide(int index);

    void undo();
    void redo();

    // Brings history, canvas, slide list, title and actions in line with the document now.
    void syncWithDocument();
    // Keeps a copy of unsaved work in the recovery folder (once a minute, when the document
    // changed since the last copy, and before the editor is ended from outside); takes the copy
    // away when nothing is unsaved. `ending`: the editor is being ended from outside, so a label
    // being typed is committed first, and work the folder cannot take is saved as
    // "NAME (recovered).pptx" beside its file (or in the home folder) instead.
    void keepUnsavedWork(bool ending = false);
    // Offers back the unsaved work of editors that did not end properly: each copy becomes a
    // file of its own, "NAME (recovered).pptx" beside its file, or is thrown away, or kept for
    // the next start. With `mayOpen` the first one recovered is opened; where the others went
    // (all of them, without `mayOpen`) is said in a message.
    void offerRecoveredWork(bool mayOpen = true);

    SlideCanvas* canvas() const { return canvas_; }
    ShapeEditCommands* editCommands() const { return editCommands_; }
    SlideList* slideList() const { return slideList_; }
    QToolBar* standardToolBar() const { return standardBar_; }
    QMenu* toolsMenu() const { return toolsMenu_; }
    DocumentHistory* history() const;
    host::DocumentWindow documentWindow() const { return window_; }
    host::Presentation presentation() const;
    // The name in the title: the file's name, or "Presentation" + number for a new one.
    QString documentName() const;

    // The size the window opens at on a screen with `room` available.
    static QSize openingSizeFor(QSize room);
    static const QString kApplicationTitle;
    static const QString kFileFilter;

Q_SIGNALS:
    // The user closed the window and agreed to lose or saved the changes.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showingSlidesBroughtBack(const std::function<void()>& step);
    void renameGraphTitle(host::Slide slide, const QString& oldName, const QString& newName);
    void createActions();
    void createMenus();
    void createToolBars();
    void createDocks();
    void rebuildHostControls();
    void rebuildRecentMenu();
    void followActiveWindow();
    // True when the active window, the document's revision or saved state, or the slide in view
    // differ from what the window shows.
    bool documentMovedOn() const;
    // Brings the canvas, the slide list and the status bar in line with the document without
    // recording an undo step (while a command waits in a message box).
    void showDocumentAsItIs();
    void updateTitle();
    void updateActions();
    void updateStatus();
    // Watches the document's file, so that a version another program writes is told at once
    // (a save would refuse to replace it); `checkFileChangedElsewhere` tells it.
    void watchDocumentFile();
    void checkFileChangedElsewhere();
    void checkWhenClosed(QWidget* box); // checks once that box (open over the window) closes
    void showStartHint(); // the first-minute hint, for the time left of its minute
    void showError(const QString& text);
    // Runs `read` on a worker thread behind a progress dialog; empty when cancelled or failed.
    host::Presentation readWithProgress(const QString& path);
    // Shows `presentation` in a new host window and closes the one shown so far.
    void replaceDocument(host::Presentation presentation);

    MainWindowServices services_;
    RecentFiles recent_;
    host::DocumentWindow window_;
    // Undo histories of the presentations shown, kept while their presentation is open.
    std::map<const host::PresentationData*, std::unique_ptr<DocumentHistory>> histories_;
    QString proposedPath_; // a new presentation's name, given at start for a file not there yet
    std::map<const host::PresentationData*, int> untitledNumbers_;
    int nextUntitled_ = 1;
    std::uint64_t seenRevision_ = 0;
    // Takes the copy of unsaved work away (saved, undone back, or quitting).
    void dropKeptWork();
    std::optional<std::uint64_t> keptRevision_; // the revision the recovery copy holds
    QTimer* keeper_ = nullptr;                  // when to keep unsaved work next
    DocumentFileWatch* fileWatch_ = nullptr;        // the document's file
    std::optional<platform::FileStamp> toldChange_; // the version of another program already told
    QPointer<QWidget> boxWatched_; // a box the file's check waits for to close
    const host::SlideData* seenSlide_ = nullptr;
    // What showDocumentAsItIs showed last, so that a box waiting for the user costs nothing.
    std::uint64_t shownRevision_ = static_cast<std::uint64_t>(-1);
    const host::SlideData* shownSlide_ = nullptr;
    bool syncing_ = false;
    // Readers still running after their open was cancelled; joined when done or on closing.
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<Worker> workers_;

    SlideCanvas* canvas_ = nullptr;
    ShapeEditCommands* editCommands_ = nullptr; // Cut, Copy, Paste, Duplicate
    SlideList* slideList_ = nullptr;
    QToolBar* standardBar_ = nullptr;
    std::vector<QAction*> hostActions_;
    bool signatureTold_ = false;  // a save has said that the document's signature no longer matches
    bool startHintShown_ = false; // the status line has told where drawing starts
    QString startHint_;           // the hint while it stands, until followed or its minute is over
    QString startHintCaption_;    // the caption of the button the hint names
    QDeadlineTimer startHintUntil_;
    QAction* hostControlsStart_ = nullptr; // the toolbar's separator before the host's controls
    QMenu* fileMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QAction* hostControlsEnd_ = nullptr;
    QLabel* slideStatus_ = nullptr;
    QLabel* zoomStatus_ = nullptr;

    QAction* newAction_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QAction* selectAllAction_ = nullptr;
    QAction* editTextAction_ = nullptr;
    QAction* zoomInAction_ = nullptr;
    QAction* zoomOutAction_ = nullptr;
    QAction* fitAction_ = nullptr;
    QAction* newSlideAction_ = nullptr;
    QAction* deleteSlideAction_ = nullptr;
    QAction* renameSlideAction_ = nullptr;
    QAction* slideUpAction_ = nullptr;
    QAction* slideDownAction_ = nullptr;
    QAction* previousSlideAction_ = nullptr;
    QAction* nextSlideAction_ = nullptr;
};

} // namespace zov::app
