// Import from the palette: the progress dialog, its cancel, and the boxes shown during an import
// (the file dialogs' settings, the folder they share and the messages are in the palette's
// scripts, tests/cases/ui/files.script).
#include "UiFixture.h"
#include "ui/ImportProgressDialog.h"
#include "ui/QtPlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

namespace zov::ui::testing {
namespace {

using FileCommandsTest = UiTest;

TEST_F(FileCommandsTest, CancelInTheProgressDialogStopsBetweenGraphsAndKeepsWhatWasDrawn) {
    start();
    const QString path = QDir(library.path()).filePath(QStringLiteral("three.cgf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Cat]\r\n.\r\n[Dog]\r\n.\r\n[Bird]\r\n");
    file.close();
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

}

// While a large graph is drawn the dialog says so and its bar follows the drawing; then the
// label and the bar are the reading's again, where the reading has got (also where the bar had
// not yet shown it), and for standard input, whose size is not known.
TEST(ImportProgressAndMessages, TheDialogFollowsTheDrawingOfALargeGraphAndThenTheReadingAgain) {
    for (const qint64 size : {qint64(1000), qint64(0)}) {
        SCOPED_TRACE(size);
        ImportProgressDialog progress(QStringLiteral("large.cgf"), nullptr);
        QProgressDialog& dialog = progress.Dialog();
        progress.Advance(size / 2, size);
        progress.Advance(size * 3 / 4, size); // too soon after to move the bar
        const int readValue = size > 0 ? ImportProgressDialog::Steps * 3 / 4 : 0;
        const int readMaximum = dialog.maximum();
        progress.Drawing(0, 8192);
        EXPECT_EQ(dialog.labelText(), QStringLiteral("Importing large.cgf...\nDrawing a graph of 8192 arcs"));
        EXPECT_EQ(dialog.maximum(), ImportProgressDialog::Steps);
        QTest::qWait(50); // past the bar's update interval
        progress.Drawing(4096, 8192);
        EXPECT_EQ(dialog.value(), ImportProgressDialog::Steps / 2);
        progress.Drawing(8192, 8192);
        EXPECT_EQ(dialog.labelText(), QStringLiteral("Importing large.cgf..."));
        EXPECT_EQ(dialog.maximum(), readMaximum);
        EXPECT_EQ(dialog.value(), readValue);
    }
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

} // namespace
} // namespace zov::ui::testing
