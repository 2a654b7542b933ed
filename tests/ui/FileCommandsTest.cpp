// Import and Export from the palette: the file dialog's settings, the folder shared by both
// dialogs, cancelling, and the messages.
#include "UiFixture.h"
#include "ui/ImportProgressDialog.h"
#include "ui/QtPlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace zov::ui::testing {
namespace {

class FileCommandsTest : public UiTest {
protected:
    QString writeCgif(const QString& name, const QByteArray& text) {
        const QString path = QDir(work.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    QTemporaryDir work;
};

TEST_F(FileCommandsTest, ImportOpensInTheAddinsFolderAndReadsTheChosenFile) {
    start();
    const QString path = writeCgif(QStringLiteral("mat.cgf"), ";%Graph*Mats%;\r\n(On [Cat] [Mat])\r\n");
    dialogs.scriptPath(path);
    palette().Import();

    ASSERT_EQ(dialogs.requests().size(), 1u);
    const auto& request = dialogs.requests()[0];
    EXPECT_EQ(request.kind, platform::ScriptedCommonDialog::Kind::Open);
    EXPECT_EQ(request.file.filter, QStringLiteral("CGIF files (*.cgf)|*.cgf|All Files (*.*)|*.*|CGIF 2001 draft "
                                                  "(*.cgf)|*.cgf|ISO CGIF (*.cgf;*.cgif)|*.cgf;*.cgif|"));
    EXPECT_EQ(request.file.filterIndex, 1);
    EXPECT_EQ(request.file.initDir, library.path()) << "the add-in's folder, without a trailing separator";
    EXPECT_TRUE(request.file.cancelError);

    EXPECT_EQ(palette().LastFileName(), path);
    EXPECT_EQ(palette().LastFolder(), work.path() + QLatin1Char('/'));
    EXPECT_EQ(shownTexts(), std::vector<QString>{QStringLiteral("File read")});
    EXPECT_EQ(messages.shown().front().title, QStringLiteral("ZOVEdit"));
    EXPECT_EQ(messages.shown().front().icon, platform::MessageIcon::Information);
    ASSERT_EQ(app.ActivePresentation().Slides().Count(), 1);
    EXPECT_EQ(app.ActivePresentation().Slides().Item(1).Name(), QStringLiteral("Mats"));
    EXPECT_EQ(editor().Reader().Tables().BoundArray.size(), 4u) << "the node tables were rebuilt";
}

TEST_F(FileCommandsTest, ExportOpensWhereTheLastImportWasAndWritesTheGraphs) {
    start();
    const QString in = writeCgif(QStringLiteral("in.cgf"), "[Cat]\r\n");
    dialogs.scriptPath(in);
    palette().Import();
    messages.clear();

    const QString out = QDir(work.path()).filePath(QStringLiteral("out.cgf"));
    dialogs.scriptPath(out);
    palette().Export();
    const auto& request = dialogs.requests().back();
    EXPECT_EQ(request.kind, platform::ScriptedCommonDialog::Kind::Save);
    EXPECT_EQ(request.file.filter, QStringLiteral("CGIF Files (*.cgf)|*.cgf|ISO 24707 CGIF Files (*.cgf)|*.cgf|"));
    EXPECT_EQ(request.file.filterIndex, 1);
    EXPECT_EQ(request.file.defaultExt, QStringLiteral(".cgf"));
    EXPECT_EQ(request.file.initDir, work.path() + QLatin1Char('/'));
    EXPECT_EQ(request.file.fileName, QString()) << "never the file just imported";
    EXPECT_TRUE(request.file.cancelError);
    EXPECT_EQ(shownTexts(), std::vector<QString>{QStringLiteral("File written")});
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith(";%Graph*G1%;\r\n[Cat;"));

    // Exporting again offers the file written last; the dialog confirmed replacing it, and
    // the command asks nothing more.
    written.close();
    ASSERT_TRUE(written.open(QIODevice::WriteOnly | QIODevice::Truncate));
    written.write("old");
    written.close();
    messages.clear();
    dialogs.scriptPath(out);
    palette().Export();
    EXPECT_EQ(dialogs.requests().back().file.fileName, out);
    EXPECT_EQ(shownTexts(), std::vector<QString>{QStringLiteral("File written")});
    EXPECT_GT(QFileInfo(out).size(), 3);

    // The second file type writes ISO CGIF, and the next dialog offers that type again.
    dialogs.scriptPath(out);
    dialogs.scriptFilterIndex(2);
    palette().Export();
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("/* <graph name=\"G1\" type=\"Graph\"/> */\r\n[/* <concept>"));
    written.close();
    dialogs.scriptPath(std::nullopt);
    palette().Export();
    EXPECT_EQ(dialogs.requests().back().file.filterIndex, 2);
}

// The Export dialog offers the presentation's name with ".cgf", but never the file just
// imported, which an OK pressed in haste would overwrite.
TEST_F(FileCommandsTest, ExportOffersThePresentationsNameButNeverTheFileJustImported) {
    start();
    app.ActivePresentation().data().fullName = QDir(work.path()).filePath(QStringLiteral("deck.pptx"));
    const auto offered = [this] {
        dialogs.scriptPath(std::nullopt);
        palette().Export();
        return dialogs.requests().back().file.fileName;
    };
    EXPECT_EQ(offered(), QStringLiteral("deck.cgf"));
    dialogs.scriptPath(writeCgif(QStringLiteral("deck.cgf"), "[Cat]\r\n"));
    palette().Import();
    EXPECT_EQ(offered(), QString()) << "deck.cgf in the dialog's folder is the file just imported";
    dialogs.scriptPath(writeCgif(QStringLiteral("other.cgf"), "[Dog]\r\n"));
    palette().Import();
    EXPECT_EQ(offered(), QStringLiteral("deck.cgf"));
}

TEST_F(FileCommandsTest, CancellingEitherDialogChangesNothingAndSaysNothing) {
    start();
    const QString path = writeCgif(QStringLiteral("one.cgf"), "[Cat]\r\n");
    dialogs.scriptPath(path);
    palette().Import();
    messages.clear();
    const int slides = app.ActivePresentation().Slides().Count();

    dialogs.scriptPath(std::nullopt);
    palette().Import();
    dialogs.scriptPath(std::nullopt);
    palette().Export();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(palette().LastFileName(), path);
    EXPECT_EQ(palette().LastFolder(), work.path() + QLatin1Char('/'));
    EXPECT_EQ(app.ActivePresentation().Slides().Count(), slides);
    EXPECT_EQ(QDir(work.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(FileCommandsTest, AFileThatCannotBeReadIsToldOnceAndAReaderErrorKeepsEarlierGraphs) {
    start();
    dialogs.scriptPath(QDir(work.path()).filePath(QStringLiteral("missing.cgf")));
    palette().Import();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown().front().text.contains(QStringLiteral("missing.cgf")));
    EXPECT_EQ(messages.shown().front().icon, platform::MessageIcon::Critical);
    EXPECT_EQ(app.ActivePresentation().Slides().Count(), 0);

    messages.clear();
    dialogs.scriptPath(writeCgif(QStringLiteral("bad.cgf"), "[Cat]\r\n.\r\n(1x)\r\n"));
    palette().Import();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown().front().text, QStringLiteral("First character not alpha or _ (at 1x))"));
    EXPECT_EQ(messages.shown().front().title, QStringLiteral("Error"));
    EXPECT_EQ(app.ActivePresentation().Slides().Count(), 1);
}

TEST_F(FileCommandsTest, CancelInTheProgressDialogStopsBetweenGraphsAndKeepsWhatWasDrawn) {
    start();
    const QString path = writeCgif(QStringLiteral("three.cgf"), "[Cat]\r\n.\r\n[Dog]\r\n.\r\n[Bird]\r\n");
    QString label;
    Qt::WindowModality modality = Qt::NonModal;
    palette().SetImportProgressHook([&](ImportProgressDialog& progress) {
        label = progress.Dialog().labelText();
        modality = progress.Dialog().windowModality();
        QPushButton* cancel = progress.Dialog().findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        cancel->click();
    });
    dialogs.scriptPath(path);
    palette().Import();
    EXPECT_EQ(label, QStringLiteral("Importing three.cgf..."));
    EXPECT_EQ(modality, Qt::ApplicationModal) << "nothing else edits the slides while the import reads";
    EXPECT_TRUE(messages.shown().empty()) << "no \"File read\" for a cancelled import";
    ASSERT_EQ(app.ActivePresentation().Slides().Count(), 1) << "the graph read before the cancel stays";
    EXPECT_EQ(editor().Reader().Tables().BoundArray.size(), 2u) << "the node tables describe that slide";

    // Without a cancel the whole file is read.
    palette().SetImportProgressHook({});
    dialogs.scriptPath(path);
    palette().Import();
    EXPECT_EQ(shownTexts(), std::vector<QString>{QStringLiteral("File read")});
    EXPECT_EQ(app.ActivePresentation().Slides().Count(), 4);
}

// A box that opens during an import ("File read", a reader's error) comes up with the progress
// dialog gone, whether the dialog was up already or its delay runs out while the box waits, and
// the dialog stays away for the rest of the import. With ZOVEDIT_MESSAGE_LOG set, boxes are
// logged to that file.
TEST(ImportProgressAndMessages, TheProgressDialogIsGoneBeforeABoxShows) {
    QTemporaryDir work;
    const QString log = QDir(work.path()).filePath(QStringLiteral("messages.log"));
    qputenv("ZOVEDIT_MESSAGE_LOG", log.toLocal8Bit());
    for (const bool upAlready : {false, true}) {
        SCOPED_TRACE(upAlready ? "dialog up already" : "dialog not up yet");
        ImportProgressDialog progress(QStringLiteral("three.cgf"), nullptr);
        progress.Advance(10, 1000);
        if (upAlready)
            progress.Dialog().show();
        bool progressVisible = true;
        QString boxText;
        QTimer::singleShot(700, [&] { // longer than the dialog's delay
            progressVisible = progress.Dialog().isVisible();
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    boxText = box->text();
                    box->button(QMessageBox::Ok)->click();
                }
        });
        QtMessageBoxes().inform(QStringLiteral("File read"), QStringLiteral("ZOVEdit"), platform::MessageIcon::Information);
        EXPECT_FALSE(progressVisible);
        EXPECT_EQ(boxText, QStringLiteral("File read"));
        progress.Advance(1000, 1000);
        EXPECT_FALSE(progress.Dialog().isVisible());
    }
    qunsetenv("ZOVEDIT_MESSAGE_LOG");
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("ZOVEdit\tFile read\nZOVEdit\tFile read\n"));
}

TEST(FolderOfPath, KeepsEverythingUpToTheLastSeparator) {
    EXPECT_EQ(FolderOfPath(QStringLiteral("/home/ann/graphs/cat.cgf")), QStringLiteral("/home/ann/graphs/"));
    EXPECT_EQ(FolderOfPath(QStringLiteral("C:\\graphs\\cat.cgf")), QStringLiteral("C:\\graphs\\"));
    EXPECT_EQ(FolderOfPath(QStringLiteral("cat.cgf")), QString());
}

} // namespace
} // namespace zov::ui::testing
