#include "ui/ZOVMain.h"

#include "addin/Session.h"
#include "addin/Version.h"
#include "editor/arrange/Arrange.h"
#include "host/Application.h"
#include "platform/HelpViewer.h"
#include "platform/MessageBox.h"
#include "ui/FocusReturn.h"
#include "ui/ImportProgressDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QFocusEvent>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>
#include <functional>

namespace zov::ui {

namespace {

const QString appTitle = QStringLiteral("ZOVEdit");

// The palette's client area is about 2865 by 2940 twips (15 twips to the pixel).
constexpr int ClientWidth = 191;
constexpr int ClientHeight = 196;

} // namespace

QString FolderOfPath(const QString& path) {
    const qsizetype at = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return at < 0 ? QString() : path.left(at + 1);
}

// The text box as the editing commands reach it.
class ZOVMain::TextBox : public editor::PaletteTextBox {
public:
    explicit TextBox(QLineEdit* edit) : edit_(edit) {}
    QString Text() const override { return edit_->text(); }
    void SetText(const QString& text) override { edit_->setText(text); }
    void SetFocus() override { edit_->setFocus(Qt::OtherFocusReason); }

private:
    QLineEdit* edit_;
};

namespace {

// Insert or F4 released in the editor's main window (the pointer over a shape there, the focus
// on the slide or the list of slides after choosing a slide) runs the palette's command, as in
// the palette: a user drawing moves between the two without minding where the keyboard is.
// Not while a text is being typed (a title edited in place, a slide renamed) or a box is open.
class RunKeyElsewhere : public QObject {
public:
    RunKeyElsewhere(QWidget* palette, std::function<void()> run) : QObject(palette), palette_(palette), run_(std::move(run)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyRelease || !watched->isWidgetType())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Insert && key->key() != Qt::Key_F4) || key->isAutoRepeat() ||
            key->modifiers() != Qt::NoModifier)
            return false;
        QWidget* window = static_cast<QWidget*>(watched)->window();
        if (window == palette_ || !window->inherits("QMainWindow") || QApplication::activeModalWidget() != nullptr)
            return false;
        const QWidget* focus = QApplication::focusWidget();
        if (focus && (focus->inherits("QLineEdit") || focus->inherits("QTextEdit") || focus->inherits("QPlainTextEdit") ||
                      focus->inherits("QAbstractSpinBox")))
            return false;
        run_();
        return true;
    }

private:
    QWidget* palette_;
    std::function<void()> run_;
};

} // namespace

ZOVMain::ZOVMain(addin::Session& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), session_(session) {
    setObjectName(QStringLiteral("ZOVMain"));
    setWindowTitle(QStringLiteral("ZOV Edit"));
    buildControls();

    textBox_ = std::make_unique<TextBox>(TextBox1);
    session_.Editor().SetTextBox(textBox_.get());

    // Load: every key reaches the palette before its controls; the file dialogs start in the
    // add-in's folder; the window stays above the host's windows (the tool-window flags).
    lastFolder_ = session_.Services().libraryFolder;
    previewKeysOf(this);
    qApp->installEventFilter(new RunKeyElsewhere(this, [this] {
        if (!running_)
            RunAtPointer();
    }));
}

ZOVMain::~ZOVMain() {
    // A closed palette has let go of the session already, and may outlive it on its way out.
    if (!unloaded_)
        releaseTextBox();
}

void ZOVMain::releaseTextBox() {
    // The editor goes back to a text box of its own, unless a newer palette gave it one.
    if (&session_.Editor().TextBox() == textBox_.get())
        session_.Editor().SetTextBox(nullptr);
}

void ZOVMain::buildControls() {
    auto* bar = new QMenuBar(this);
    buildMenus(bar);

    auto makeButton = [this](const QString& name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        return button;
    };
    NewGraph = makeButton(QStringLiteral("NewGraph"), QStringLiteral("Clear Graph"));
    AddGraphButton = makeButton(QStringLiteral("AddGraph"), QStringLiteral("Add Graph"));
    ShowButton = makeButton(QStringLiteral("ShowButton"), QStringLiteral("Show"));
    ArrangeButton = makeButton(QStringLiteral("ArrangeButton"), QStringLiteral("Arrange"));
    ConfigButton = makeButton(QStringLiteral("ConfigButton"), QStringLiteral("Configure"));
    connect(NewGraph, &QPushButton::clicked, this, &ZOVMain::ClearGraph);
    connect(AddGraphButton, &QPushButton::clicked, this, &ZOVMain::AddGraph);
    connect(ShowButton, &QPushButton::clicked, this, &ZOVMain::ShowGraph);
    connect(ArrangeButton, &QPushButton::clicked, this, &ZOVMain::Arrange);
    connect(ConfigButton, &QPushButton::clicked, this, &ZOVMain::Configure);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Options = new QButtonGroup(this);
    // Each option says what it does and how it is run: a first-time user sees only letters.
    auto makeOption = [this](const QString& name, const QString& caption, int code, const QString& tip) {
        auto* option = new QRadioButton(caption, Frame1);
        option->setObjectName(name);
        option->setToolTip(tip);
        Options->addButton(option, code);
        return option;
    };
    NewConceptButton = makeOption(QStringLiteral("NewConceptButton"), QStringLiteral("C"), 1,
                                  QStringLiteral("New concept: type its type and referent (Cat: 'Tom'), point at the slide and press Insert or F4"));
    NewRelationButton = makeOption(QStringLiteral("NewRelationButton"), QStringLiteral("R"), 2,
                                   QStringLiteral("New relation: type its type (Agnt), point at the slide and press Insert or F4"));
    NewActorButton = makeOption(QStringLiteral("NewActorButton"), QStringLiteral("A"), 3,
                                QStringLiteral("New actor: type its type (Plus), point at the slide and press Insert or F4"));
    NewLinkButton = makeOption(QStringLiteral("NewLinkButton"), QStringLiteral("Link"), 4,
                               QStringLiteral("Link two nodes: press Insert or F4 over the arc's source, then over its target"));
    ChangeLabelButton = makeOption(QStringLiteral("ChangeLabelButton"), QStringLiteral("Edit"), 5,
                                   QStringLiteral("Read or change a label: press Insert or F4 over a shape with the text box empty to read "
                                                  "its label, with a text to write it"));
    JumpGraphButton = makeOption(QStringLiteral("JumpGraphButton"), QStringLiteral("Jump"), 6,
                                 QStringLiteral("Follow a coreference: press Insert or F4 over a pentagon to go to the graph it refers to"));
    Comment = makeOption(QStringLiteral("Comment"), QStringLiteral("Comment"), 7,
                         QStringLiteral("New comment: point at the slide and press Insert or F4, then double-click the callout to type"));
    connect(Options, &QButtonGroup::idClicked, this, &ZOVMain::SelectOption);

    auto* options = new QGridLayout(Frame1);
    options->setContentsMargins(4, 4, 4, 4);
    options->addWidget(NewConceptButton, 0, 0);
    options->addWidget(NewRelationButton, 0, 1);
    options->addWidget(NewActorButton, 0, 2);
    options->addWidget(NewLinkButton, 0, 3);
    options->addWidget(Comment, 1, 0, 1, 2);
    options->addWidget(ChangeLabelButton, 1, 2);
    options->addWidget(JumpGraphButton, 1, 3);

    TextBox1 = new QLineEdit(this);
    TextBox1->setObjectName(QStringLiteral("TextBox1"));

    auto* firstRow = new QHBoxLayout;
    firstRow->addWidget(NewGraph);
    firstRow->addWidget(AddGraphButton);
    auto* secondRow = new QHBoxLayout;
    secondRow->addWidget(ShowButton);
    secondRow->addWidget(ArrangeButton);
    secondRow->addWidget(ConfigButton);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(firstRow);
    layout->addLayout(secondRow);
    layout->addWidget(Frame1);
    layout->addWidget(TextBox1);

    const QSize hint = sizeHint();
    resize(std::max(hint.width(), ClientWidth), std::max(hint.height(), ClientHeight + bar->sizeHint().height()));
}

void ZOVMain::buildMenus(QMenuBar* bar) {
    auto addItem = [this](QMenu* menu, const QString& name, const QString& caption, void (ZOVMain::*action)()) {
        QAction* item = menu->addAction(caption);
        item->setObjectName(name);
        connect(item, &QAction::triggered, this, action);
        return item;
    };
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addItem(file, QStringLiteral("mnuOpen"), QStringLiteral("&Import..."), &ZOVMain::Import);
    addItem(file, QStringLiteral("mnuExport"), QStringLiteral("&Export..."), &ZOVMain::Export);

    QMenu* graph = bar->addMenu(QStringLiteral("&Graph"));
    graph->setObjectName(QStringLiteral("mnuGraph"));
    addItem(graph, QStringLiteral("mnuClear"), QStringLiteral("&Clear"), &ZOVMain::ClearGraph);
    addItem(graph, QStringLiteral("mnuAdd"), QStringLiteral("&Add"), &ZOVMain::AddGraph);
    addItem(graph, QStringLiteral("mnuShow"), QStringLiteral("S&how"), &ZOVMain::ShowGraph);
    addItem(graph, QStringLiteral("mnuArrange"), QStringLiteral("A&rrange"), &ZOVMain::Arrange);
    addItem(graph, QStringLiteral("mnuConfigure"), QStringLiteral("&Configure"), &ZOVMain::Configure);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    addItem(help, QStringLiteral("mnuContents"), QStringLiteral("Con&tents"), &ZOVMain::HelpContents);
    addItem(help, QStringLiteral("mnuIndex"), QStringLiteral("&Index"), &ZOVMain::HelpIndex);
    addItem(help, QStringLiteral("mnuAbout"), QStringLiteral("&About"), &ZOVMain::About);
}

void ZOVMain::previewKeysOf(QObject* object) {
    object->installEventFilter(this);
    for (QObject* child : object->children())
        if (child->isWidgetType())
            previewKeysOf(child);
}

void ZOVMain::guarded(const QString& what, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& failure) {
        session_.Services().messages->inform(QStringLiteral("%1 failed: %2").arg(what, QString::fromLocal8Bit(failure.what())),
                                             appTitle, platform::MessageIcon::Critical);
    }
}

// --- events ---------------------------------------------------------------------------------

bool ZOVMain::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        Activate();
    } else if (event->type() == QEvent::ChildAdded) {
        // Controls added later see their keys previewed too.
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child && child->isWidgetType())
            previewKeysOf(child);
    }
    return QWidget::event(event);
}

bool ZOVMain::eventFilter(QObject* watched, QEvent* event) {
    // Tab and Shift+Tab enter the options at the chosen one, as in any group of option buttons:
    // Qt enters at the one that had the focus last, and its arrow keys move the choice only
    // from the chosen one, so they would move the focus alone.
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        auto* option = qobject_cast<QAbstractButton*>(watched);
        QAbstractButton* chosen = Options ? Options->checkedButton() : nullptr;
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && option && chosen &&
            option != chosen && Options->buttons().contains(option)) {
            chosen->setFocus(reason);
            return true;
        }
    }
    // F1 in any of the palette's controls shows the help, as it does in the editor.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this) {
        HelpContents();
        return true;
    }
    if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // One run per release of the key: a held key repeats its release events.
        // Only keys of the palette's own controls: a message box a run put up (a child of the
        // palette, so previewed too) takes its keys itself, and a run never starts inside
        // another one.
        const bool ownControl = watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this;
        if ((key->key() == Qt::Key_Insert || key->key() == Qt::Key_F4) && !key->isAutoRepeat() && ownControl &&
            !running_ && QApplication::activeModalWidget() == nullptr) {
            RunAtPointer();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ZOVMain::closeEvent(QCloseEvent* event) {
    // Query-unload: the settings offer, once; the unload is never cancelled.
    if (!unloaded_) {
        unloaded_ = true;
        guarded(QStringLiteral("Saving the settings"), [this] { session_.OfferToSaveSettings(); });
        releaseTextBox();
    }
    event->accept();
    // The keyboard goes to the main window once the palette is gone.
    QTimer::singleShot(0, qApp, [] { KeyboardToAWindowLeft(nullptr); });
}

// --- actions --------------------------------------------------------------------------------

void ZOVMain::SelectOption(int code) {
    if (QAbstractButton* option = Options->button(code))
        option->setChecked(true);
    guarded(QStringLiteral("Choosing the command"), [&] { session_.Editor().SetCommandMode(static_cast<std::int16_t>(code)); });
    // The comment option keeps the focus; the others hand it to the text box.
    if (code == 7)
        return;
    TextBox1->setFocus(Qt::OtherFocusReason);
    // An arrow key checks the next option (which runs this) and only then moves the focus to
    // that option: the text box takes the focus back once the key has been handled, as long as
    // the focus is still on an option.
    QTimer::singleShot(0, this, [this] {
        if (!unloaded_ && Options->buttons().contains(qobject_cast<QAbstractButton*>(focusWidget())))
            TextBox1->setFocus(Qt::OtherFocusReason);
    });
}

void ZOVMain::RunAtPointer() {
    running_ = true;
    const struct Done {
        bool& running;
        ~Done() { running = false; }
    } done{running_};
    guarded(QStringLiteral("The command"), [this] { session_.Editor().RunCommandAtPointer(); });
    TextBox1->setFocus(Qt::OtherFocusReason);
}

void ZOVMain::Activate() {
    // An import reads into the very tables a rebuild would refill: the import rebuilds them
    // itself when it is over. A closed palette on its way out (its session may be gone) takes
    // no more activations.
    if (importing_ || unloaded_)
        return;
    guarded(QStringLiteral("Reading the slides"), [this] { session_.Editor().RebuildNodeTables(); });
    TextBox1->setFocus(Qt::ActiveWindowFocusReason);
}

void ZOVMain::ClearGraph() {
    guarded(QStringLiteral("Clear Graph"), [this] {
        session_.Editor().ClearGraphSlide();
        session_.Editor().Reader().ClearReaderTables();
        // The tables describe the slides again at once, so that a command run next (Jump after
        // Show) finds what is on them, as after an activation of the palette.
        session_.Editor().RebuildNodeTables();
    });
}

void ZOVMain::AddGraph() {
    guarded(QStringLiteral("Add Graph"), [this] { session_.Editor().AddGraphSlide(); });
}

void ZOVMain::ShowGraph() {
    guarded(QStringLiteral("Show"), [this] { session_.Editor().GoToGraph(TextBox1->text()); });
}

// Arranges the slide in view; the desktop records it as one undo step, as every palette command.
void ZOVMain::Arrange() {
    guarded(QStringLiteral("Arrange"), [this] {
        const host::DocumentWindow window = session_.Application().ActiveWindow();
        if (window.IsNothing() || window.View().Slide().IsNothing())
            return;
        const int index = window.View().Slide().SlideIndex();
        editor::ArrangeSlides(window.Presentation(), index, index, *session_.Services().messages);
    });
}

void ZOVMain::Configure() {
    if (configure_)
        configure_();
}

void ZOVMain::Import() {
    platform::CommonDialog* dialogs = session_.Services().dialogs;
    if (!dialogs)
        return;
    fileDialog_.filter = ImportFilter;
    fileDialog_.title = QStringLiteral("Import CGIF");
    fileDialog_.initDir = lastFolder_;
    fileDialog_.filterIndex = 1;
    fileDialog_.cancelError = true;
    int fileType = 1;
    fileDialog_.chosenFilterIndex = &fileType;
    const std::optional<QString> chosen = dialogs->ShowOpen(fileDialog_);
    fileDialog_.chosenFilterIndex = nullptr;
    if (!chosen)
        return; // cancelled: nothing more, no message
    const cgif::dialect::DialectChoice dialect = fileType == 3 ? cgif::dialect::DialectChoice::Draft2001
                                                 : fileType == 4 ? cgif::dialect::DialectChoice::Iso
                                                                 : cgif::dialect::DialectChoice::Auto;
    fileDialog_.fileName = *chosen;
    lastImportName_ = *chosen;
    lastFileName_ = *chosen;
    lastFolder_ = FolderOfPath(lastFileName_);
    importing_ = true;
    guarded(QStringLiteral("Import"), [this, dialect] {
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{importing_};
        ImportProgressDialog progress(lastFileName_, this);
        if (progressShown_)
            progressShown_(progress);
        session_.ImportFile(lastFileName_, &progress, dialect);
    });
}

void ZOVMain::Export() {
    platform::CommonDialog* dialogs = session_.Services().dialogs;
    if (!dialogs)
        return;
    fileDialog_.title = QStringLiteral("Export CGIF");
    fileDialog_.initDir = lastFolder_;
    fileDialog_.defaultExt = QStringLiteral(".cgf");
    fileDialog_.filter = ExportFilter + IsoExportFilterEntry;
    fileDialog_.filterIndex = lastExportFilter_;
    fileDialog_.cancelError = true;
    fileDialog_.fileName = ExportTarget();
    int fileType = lastExportFilter_;
    fileDialog_.chosenFilterIndex = &fileType;
    const std::optional<QString> chosen = dialogs->ShowSave(fileDialog_);
    fileDialog_.chosenFilterIndex = nullptr;
    if (!chosen)
        return;
    fileDialog_.fileName = *chosen;
    lastExportName_ = *chosen;
    lastExportFilter_ = fileType == 2 ? 2 : 1;
    lastFileName_ = *chosen;
    lastFolder_ = FolderOfPath(lastFileName_);
    const auto dialect =
        lastExportFilter_ == 2 ? cgif::exporter::ExportDialect::Iso : cgif::exporter::ExportDialect::Cgif2001;
    guarded(QStringLiteral("Export"), [this, dialect] { session_.ExportFile(lastFileName_, dialect); });
}

QString ZOVMain::ExportTarget() const {
    QString target = lastExportName_;
    if (target.isEmpty()) {
        const host::Presentation presentation = session_.Application().ActivePresentation();
        const QString document = presentation.IsNothing() ? QString() : presentation.FullName();
        if (!document.isEmpty())
            target = QFileInfo(document).completeBaseName() + QStringLiteral(".cgf");
    }
    if (target.isEmpty())
        return target;
    // The dialog opens in LastFolder with the target's name.
    const QString offered = QDir(lastFolder_.isEmpty() ? QStringLiteral(".") : lastFolder_).filePath(QFileInfo(target).fileName());
    if (!lastImportName_.isEmpty() && QFileInfo(offered).absoluteFilePath() == QFileInfo(lastImportName_).absoluteFilePath())
        return QString();
    return target;
}

QString ZOVMain::HelpLocation() const {
    return addin::IntroHelpLocation(session_.Services().libraryFolder);
}

void ZOVMain::HelpContents() {
    if (platform::HelpViewer* help = session_.Services().help)
        help->ShowHelp(HelpLocation(), platform::HelpCommand::Contents);
}

void ZOVMain::HelpIndex() {
    if (platform::HelpViewer* help = session_.Services().help)
        help->ShowHelp(HelpLocation(), platform::HelpCommand::Index);
}

void ZOVMain::About() {
    session_.Services().messages->inform(addin::AboutText(session_.Services().version), appTitle,
                                         platform::MessageIcon::Information);
}

} // namespace zov::ui
