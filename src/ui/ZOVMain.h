#pragma once
// The palette (caption "ZOV Edit"): a small topmost tool window holding the text box for the
// next command's label or name, the seven command options, the four whole-graph buttons and
// the File, Graph and Help menus. Insert or F4, released while any of its controls has the
// focus, runs the chosen command at the mouse pointer.
//
// Closing the palette offers to save changed drawing settings and unloads it (the window is
// deleted); the next start of the editor makes a new one.
#include "editor/PaletteTextBox.h"
#include "platform/CommonDialog.h"

#include <QWidget>
#include <functional>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;

namespace zov::addin {
class Session;
}

namespace zov::ui {

class ImportProgressDialog;

// The file filters of the two file commands. Import's first two entries read each file in its
// own dialect; the other two force the 2001 dialect or ISO CGIF (ImportDialogDialect).
inline const QString ImportFilter = QStringLiteral("CGIF files (*.cgf)|*.cgf|") + QStringLiteral("All Files (*.*)|*.*|") +
                                    QStringLiteral("CGIF 2001 draft (*.cgf)|*.cgf|") +
                                    QStringLiteral("ISO CGIF (*.cgf;*.cgif)|*.cgf;*.cgif|");
inline const QString ExportFilter = QStringLiteral("CGIF Files (*.cgf)|*.cgf");

// The Export dialog's second file type, after ExportFilter: ISO/IEC 24707 CGIF.
inline const QString IsoExportFilterEntry = QStringLiteral("|ISO 24707 CGIF Files (*.cgf)|*.cgf|");

// The text of a path up to and including its last folder separator; empty when it has none.
QString FolderOfPath(const QString& path);

class ZOVMain : public QWidget {
    Q_OBJECT
public:
    explicit ZOVMain(addin::Session& session, QWidget* parent = nullptr);
    ~ZOVMain() override;

    // Called by "Configure" and Graph > Configure: shows the configuration dialog.
    void SetConfigureHandler(std::function<void()> handler) { configure_ = std::move(handler); }
    // Called with each import's progress dialog as the import starts (tests watch it).
    void SetImportProgressHook(std::function<void(ImportProgressDialog&)> hook) { progressShown_ = std::move(hook); }

    // --- the palette's actions, as its controls run them -----------------------------------
    void SelectOption(int code);   // an option button's click
    void RunAtPointer();           // Insert or F4 released
    void Activate();               // the palette became the active window
    void ClearGraph();             // "Clear Graph", Graph > Clear
    void AddGraph();               // "Add Graph", Graph > Add
    void ShowGraph();              // "Show", Graph > Show
    void Arrange();                // "Arrange", Graph > Arrange: the slide in view
    void Configure();              // "Configure", Graph > Configure
    void Import();                 // File > Import...
    void Export();                 // File > Export...
    void HelpContents();           // Help > Contents
    void HelpIndex();              // Help > Index
    void About();                  // Help > About

    // --- form state ------------------------------------------------------------------------
    const QString& LastFileName() const { return lastFileName_; }
    const QString& LastFolder() const { return lastFolder_; }
    // The common file dialog's settings as the last file command left them.
    const platform::FileDialogRequest& FileDialogState() const { return fileDialog_; }
    // The name the Export dialog offers: the file exported to last, else the presentation's
    // file name with ".cgf"; never the file imported last (a hasty OK would overwrite the
    // graphs' source), and empty when there is nothing better.
    QString ExportTarget() const;
    // Where the help opens: the help file beside the add-in and its introduction.
    QString HelpLocation() const;
    // True once the palette has been closed: it is on its way out and takes no more commands.
    bool IsUnloaded() const { return unloaded_; }

    // --- controls --------------------------------------------------------------------------
    QLineEdit* TextBox1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* NewConceptButton = nullptr;
    QRadioButton* NewRelationButton = nullptr;
    QRadioButton* NewActorButton = nullptr;
    QRadioButton* NewLinkButton = nullptr;
    QRadioButton* ChangeLabelButton = nullptr;
    QRadioButton* JumpGraphButton = nullptr;
    QRadioButton* Comment = nullptr;
    QPushButton* NewGraph = nullptr;
    QPushButton* AddGraphButton = nullptr; // the control named AddGraph
    QPushButton* ShowButton = nullptr;
    QPushButton* ArrangeButton = nullptr;
    QPushButton* ConfigButton = nullptr;
    QButtonGroup* Options = nullptr; // ids are the command codes

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class TextBox;
    void buildControls();
    void buildMenus(QMenuBar* bar);
    void previewKeysOf(QObject* object);
    void releaseTextBox();
    // Runs one action of the palette; a failure is told in a message box, never thrown into
    // the event loop.
    void guarded(const QString& what, const std::function<void()>& action);

    addin::Session& session_;
    std::unique_ptr<TextBox> textBox_;
    std::function<void()> configure_;
    QString lastFileName_;
    QString lastFolder_;
    QString lastImportName_; // the file Import read last
    QString lastExportName_; // the file Export wrote last
    int lastExportFilter_ = 1; // the Export dialog's file type chosen last (2: ISO CGIF)
    platform::FileDialogRequest fileDialog_; // CommonDialog1: keeps its settings between uses
    bool unloaded_ = false;
    bool importing_ = false; // an import is reading: activation leaves the node tables alone
    bool running_ = false;   // a run at the pointer is under way (its message box may be open)
    std::function<void(ImportProgressDialog&)> progressShown_;
};

} // namespace zov::ui
