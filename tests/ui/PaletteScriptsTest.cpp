// The palette's scripts, tests/cases/ui/*.script: transcripts of what a user does with the
// palette's controls, keys and the mouse pointer ("> STEP"), each followed by what it changed
// (the steps and the trace are described in docs/testing.md).
#include "UiFixture.h"
#include "support/CaseFiles.h"
#include "support/Transcript.h"
#include "support/SlideTrace.h"

#include "drawing/DrawingSettings.h"
#include "host/HostError.h"
#include "ui/Configuration.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <map>

namespace zov::ui::testing {
namespace {

const std::map<QString, Qt::Key> kKeys = {{QStringLiteral("Insert"), Qt::Key_Insert}, {QStringLiteral("F3"), Qt::Key_F3},
                                          {QStringLiteral("F4"), Qt::Key_F4},         {QStringLiteral("F5"), Qt::Key_F5},
                                          {QStringLiteral("Left"), Qt::Key_Left},     {QStringLiteral("Right"), Qt::Key_Right},
                                          {QStringLiteral("Space"), Qt::Key_Space}};

class Script : public UiTest {
public:
    Script() { SetUp(); }
    ~Script() override { TearDown(); }
    void TestBody() override {}

    void Step(const QString& step, QStringList& trace) {
        const qsizetype from = trace.size();
        const std::vector<test::SlideState> before = test::StateOf(app.ActivePresentation());
        const host::Slide shown = InView();
        const int mode = editor().CommandMode();
        QWidget* focus = Pal() ? palette().focusWidget() : nullptr;
        const std::map<QString, QString> shownBefore = Shown();
        const std::size_t requests = dialogs.requests().size(), writes = store.writes().size(), boxes = messages.shown().size(),
                          helps = help.calls().size();
        const QString verb = step.section(u' ', 0, 0), rest = step.section(u' ', 1);
        const QString arg = rest.section(u' ', 0, 0);
        const auto widget = [&](const QString& name) {
            QWidget* w = palette().findChild<QWidget*>(name);
            EXPECT_NE(w, nullptr) << name.toStdString();
            return w;
        };
        if (verb == QStringLiteral("start")) {
            start();
        } else if (verb == QStringLiteral("graph")) {
            palette().TextBox1->setText(rest);
            palette().AddGraphButton->click();
        } else if (verb == QStringLiteral("click")) {
            qobject_cast<QAbstractButton*>(widget(arg))->click();
        } else if (verb == QStringLiteral("focus")) {
            widget(arg)->setFocus();
        } else if (verb == QStringLiteral("tab-to") || verb == QStringLiteral("backtab-to")) {
            // The focus arriving as Tab or Shift+Tab brings it (simulated keys do not move it
            // on the offscreen platform).
            widget(arg)->setFocus(verb == QStringLiteral("tab-to") ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        } else if (verb == QStringLiteral("text")) {
            palette().TextBox1->setText(rest);
        } else if (verb == QStringLiteral("keys")) {
            QTest::keyClicks(palette().TextBox1, rest);
        } else if (verb == QStringLiteral("pointer")) {
            cursor.setPosition(QPoint(100 + arg.section(u',', 0, 0).toInt(), 50 + arg.section(u',', 1).toInt()));
        } else if (verb == QStringLiteral("press") || verb == QStringLiteral("release") || verb == QStringLiteral("key")) {
            // "KEY on NAME", with "shift" or "ctrl" after it for a held modifier.
            const Qt::KeyboardModifiers held = rest.endsWith(QStringLiteral(" shift")) ? Qt::ShiftModifier
                                               : rest.endsWith(QStringLiteral(" ctrl")) ? Qt::ControlModifier
                                                                                        : Qt::NoModifier;
            QWidget* target = widget(rest.section(u' ', 2, 2));
            const Qt::Key key = kKeys.at(arg);
            verb == QStringLiteral("press")     ? QTest::keyPress(target, key, held)
            : verb == QStringLiteral("release") ? QTest::keyRelease(target, key, held)
                                                : QTest::keyClick(target, key, held);
            QApplication::processEvents();
        } else if (verb == QStringLiteral("repeat")) { // a held key's repeated release
            QKeyEvent repeated(QEvent::KeyRelease, kKeys.at(arg), Qt::NoModifier, QString(), true);
            QApplication::sendEvent(widget(rest.section(u' ', 2, 2)), &repeated);
        } else if (verb == QStringLiteral("run")) {
            palette().RunAtPointer();
        } else if (verb == QStringLiteral("activate")) {
            QEvent activate(QEvent::WindowActivate);
            QApplication::sendEvent(&palette(), &activate);
        } else if (verb == QStringLiteral("activate-window")) {
            palette().activateWindow(); // the arrow keys move between options of the active window only
            EXPECT_TRUE(QTest::qWaitForWindowActive(&palette()));
        } else if (verb == QStringLiteral("shape")) { // "TYPE NAME [TEXT] @X,Y", 80 x 30 points
            host::Shape s = slideInView().Shapes().AddShape(arg.toInt(), rest.section(u'@', 1).section(u',', 0, 0).toFloat(),
                                                              rest.section(u',', -1).toFloat(), 80, 30);
            s.SetName(rest.section(u' ', 1, 1));
            s.TextFrame().TextRange().SetText(rest.section(u'[', 1).section(u']', 0, 0));
        } else if (verb == QStringLiteral("forget")) {
            editor().Reader().ClearReaderTables();
        } else if (verb == QStringLiteral("tables")) { // the records, each as its graph's name or its type
            QStringList records;
            for (const cgif::NodeRecord& n : editor().Reader().Tables().BoundArray)
                records << (n.Kind == cgif::NodeKind::Graph ? n.Name : n.Type).ToString();
            trace << (QStringList{QStringLiteral("tables")} + records).join(u' ');
        } else if (verb == QStringLiteral("menu")) {
            palette().findChild<QAction*>(arg)->trigger();
        } else if (verb == QStringLiteral("dialog")) { // a button of the Configure dialog
            windows().ConfigurationDialog()->findChild<QAbstractButton*>(arg)->click();
        } else if (verb == QStringLiteral("colour")) { // the colour chooser's next answer, 0xBBGGRR
            dialogs.scriptColor(arg == QStringLiteral("cancel") ? std::nullopt : std::optional(arg.toInt(nullptr, 16)));
        } else if (verb == QStringLiteral("font")) { // the font chooser's next answer: NAME SIZE
            dialogs.scriptFont(arg == QStringLiteral("cancel")
                                   ? std::nullopt
                                   : std::optional(platform::FontChoice{rest.section(u' ', 0, -2), rest.section(u' ', -1).toDouble()}));
        } else if (verb == QStringLiteral("setting")) { // KEY VALUE, as the settings store holds it
            platform::MemorySettingsStore held;
            drawing::SaveDrawingSettings(session->DrawingSettings(), held);
            held.setValue(QStringLiteral("ZOVEdit"), QStringLiteral("Startup"), arg, rest.section(u' ', 1));
            session->DrawingSettings() = drawing::LoadDrawingSettings(held);
        } else if (verb == QStringLiteral("answer")) { // yes, no or cancel: the next box's answer
            messages.script(arg == QStringLiteral("yes")      ? platform::MessageAnswer::Yes
                            : arg == QStringLiteral("cancel") ? platform::MessageAnswer::Cancel
                                                              : platform::MessageAnswer::No);
        } else if (verb == QStringLiteral("close")) {
            palette().close();
            QApplication::processEvents();
        } else if (verb == QStringLiteral("file")) { // NAME TEXT: a file in the work folder
            QFile file(QDir(work.path()).filePath(arg));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(rest.section(u' ', 1).toUtf8());
        } else if (verb == QStringLiteral("deck")) { // the presentation's file is NAME in the work folder
            app.ActivePresentation().data().fullName = QDir(work.path()).filePath(arg);
        } else if (verb == QStringLiteral("import") || verb == QStringLiteral("export")) { // NAME or cancel
            dialogs.scriptPath(arg == QStringLiteral("cancel") ? std::nullopt : std::optional(QDir(work.path()).filePath(arg)));
            verb == QStringLiteral("import") ? palette().Import() : palette().Export();
        } else {
            ADD_FAILURE() << "unknown step: " << step.toStdString();
        }
        for (std::size_t i = requests; i < dialogs.requests().size(); ++i)
            trace << Request(dialogs.requests()[i]);
        for (std::size_t i = helps; i < help.calls().size(); ++i)
            trace << QStringLiteral("help %1 ").arg(int(help.calls()[i].command)) + help.calls()[i].location;
        const std::map<QString, QString> shownAfter = Shown();
        for (const auto& [what, value] : shownAfter)
            if (shownBefore.count(what) == 0 || shownBefore.at(what) != value)
                trace << what + u' ' + value;
        if (shownBefore.count(QStringLiteral("configure")) > shownAfter.count(QStringLiteral("configure")))
            trace << QStringLiteral("configure hidden");
        for (std::size_t i = writes; i < store.writes().size(); ++i)
            trace << QStringLiteral("stored ") + store.writes()[i].address.key + u'=' + store.writes()[i].value;
        test::TraceChanges(before, test::StateOf(app.ActivePresentation()), trace);
        test::TraceMessages({messages.shown().begin() + static_cast<std::ptrdiff_t>(boxes), messages.shown().end()}, trace);
        if (!(InView() == shown))
            trace << QStringLiteral("view ") + QString::number(slideInView().SlideIndex());
        if (editor().CommandMode() != mode)
            trace << QStringLiteral("mode ") + QString::number(editor().CommandMode());
        if (Pal() && palette().Options->checkedId() != editor().CommandMode())
            trace << QStringLiteral("option ") + QString::number(palette().Options->checkedId());
        if (Pal() && !palette().TextBox1->text().isEmpty() && verb != QStringLiteral("text") &&
            verb != QStringLiteral("keys"))
            trace << QStringLiteral("text box [") + palette().TextBox1->text() + u']';
        if (Pal() && palette().focusWidget() != focus && palette().focusWidget())
            trace << QStringLiteral("focus ") + palette().focusWidget()->objectName();
        for (qsizetype i = from; i < trace.size(); ++i)
            trace[i] = Folder(trace[i]);
    }


private:
    // The session's windows and palette; none before the first start.
    QtEditorWindows* Win() { return static_cast<QtEditorWindows*>(session->Windows()); }
    ZOVMain* Pal() { return Win() ? Win()->Palette() : nullptr; }
    host::Slide InView() {
        try {
            return slideInView();
        } catch (const host::HostError&) { // no window, or no slide in view
            return {};
        }
    }
    QString Folder(QString path) const {
        return path.replace(work.path(), QStringLiteral("{work}")).replace(library.path(), QStringLiteral("{library}"));
    }
    // "chooser open|save [FILTER] INDEX [FOLDER] [NAME] [EXTENSION]", "chooser colour BBGGRR",
    // "chooser font NAME SIZE FLAGS": what a common dialog was opened with.
    QString Request(const platform::ScriptedCommonDialog::Request& r) const {
        using Kind = platform::ScriptedCommonDialog::Kind;
        if (r.kind == Kind::Color)
            return QStringLiteral("chooser colour ") + QString::number(r.color, 16).rightJustified(6, u'0').toUpper();
        if (r.kind == Kind::Font)
            return QStringLiteral("chooser font %1 %2 %3").arg(r.font.name).arg(r.font.size).arg(r.fontFlags);
        return QStringLiteral("chooser %1 [%2] %3 [%4] [%5] [%6]%7")
            .arg(r.kind == Kind::Open ? QStringLiteral("open") : QStringLiteral("save"), r.file.filter)
            .arg(r.file.filterIndex)
            .arg(Folder(r.file.initDir), Folder(r.file.fileName), r.file.defaultExt,
                 r.file.cancelError ? QString() : QStringLiteral(" cancel-free"));
    }
    // What the windows show beside the slides: the Configure dialog while it is open (its colour
    // boxes, font labels and check box), the settings in force, the palette's last file and folder, the files of
    // the work folder (by their first line).
    std::map<QString, QString> Shown() {
        std::map<QString, QString> shown;
        if (const Configuration* d = Win() ? Win()->ConfigurationDialog() : nullptr; d && d->isVisible()) {
            shown[QStringLiteral("configure")] = QStringLiteral("shown");
            for (const QLabel* l : d->findChildren<QLabel*>())
                if (l->objectName().endsWith(QStringLiteral("ColorBox")))
                    shown[l->objectName()] = l->palette().color(QPalette::Window).name();
                else if (l->objectName().endsWith(QStringLiteral("Font")))
                    shown[l->objectName()] = l->text();
            for (const QCheckBox* box : d->findChildren<QCheckBox*>())
                shown[box->objectName()] = box->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
        }
        platform::MemorySettingsStore held;
        drawing::SaveDrawingSettings(session->DrawingSettings(), held);
        for (const auto& w : held.writes())
            shown[QStringLiteral("setting ") + w.address.key] = w.value;
        if (Pal() && !Pal()->LastFileName().isEmpty())
            shown[QStringLiteral("last")] = Folder(Pal()->LastFileName()) + u' ' + Folder(Pal()->LastFolder());
        for (const QFileInfo& f : QDir(work.path()).entryInfoList(QDir::Files)) {
            QFile file(f.filePath());
            shown[QStringLiteral("file ") + f.fileName()] =
                file.open(QIODevice::ReadOnly) ? u'[' + QString::fromUtf8(file.readLine()).trimmed() + u']' : QString();
        }
        return shown;
    }

    QTemporaryDir work;
};

TEST(PaletteScripts, CaseFiles) {
    for (const test::Case& c : test::LoadCases(QStringLiteral("ui"), QStringLiteral(".script")))
        EXPECT_EQ(test::Lines(test::PlayTranscript<Script>(c)), test::Lines(c.expected)) << c.where();
}

} // namespace
} // namespace zov::ui::testing
