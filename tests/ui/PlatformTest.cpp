// The desktop's forms of the common dialog's filters.
#include "platform/CommonDialog.h"
#include "ui/QtPlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace zov::ui::testing {
namespace {

TEST(FileFilters, SplitIntoDescriptionAndPatternPairs) {
    const auto entries = platform::ParseFilter(QStringLiteral("CGIF files (*.cgf)|*.cgf|All Files (*.*)|*.*|"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description, QStringLiteral("CGIF files (*.cgf)"));
    EXPECT_EQ(entries[0].pattern, QStringLiteral("*.cgf"));
    EXPECT_EQ(entries[1].description, QStringLiteral("All Files (*.*)"));
    EXPECT_EQ(entries[1].pattern, QStringLiteral("*.*"));
    // Without the closing "|", and with a description left without its pattern.
    const auto single = platform::ParseFilter(QStringLiteral("CGIF Files (*.cgf)|*.cgf"));
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].pattern, QStringLiteral("*.cgf"));
    const auto dangling = platform::ParseFilter(QStringLiteral("Text|*.txt|Other"));
    ASSERT_EQ(dangling.size(), 2u);
    EXPECT_TRUE(dangling[1].pattern.isEmpty());
    EXPECT_TRUE(platform::ParseFilter(QString()).empty());
}

TEST(FileFilters, BecomeQtNameFiltersWhereAllFilesMeansEveryFile) {
    EXPECT_EQ(QtNameFilters(QStringLiteral("CGIF files (*.cgf)|*.cgf|All Files (*.*)|*.*|")),
              (QStringList{QStringLiteral("CGIF files (*.cgf)"), QStringLiteral("All Files (*)")}));
    EXPECT_EQ(QtNameFilters(QStringLiteral("Pictures|*.png;*.jpg|")), QStringList{QStringLiteral("Pictures (*.png *.jpg)")});
    EXPECT_EQ(QtNameFilters(QStringLiteral("Anything|")), QStringList{QStringLiteral("Anything (*)")});
}

// The desktop's save dialog asks before it hands back the name of a file that exists: No
// goes back to the dialog, Yes returns the name.
TEST(QtFileDialogs, SavingOverAnExistingFileAsksFirst) {
    QTemporaryDir folder;
    const QString existing = QDir(folder.path()).filePath(QStringLiteral("old.cgf"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    platform::FileDialogRequest request;
    request.filter = QStringLiteral("CGIF Files (*.cgf)|*.cgf");
    request.initDir = folder.path();
    request.defaultExt = QStringLiteral(".cgf");
    request.fileName = QStringLiteral("old.cgf");

    QStringList asked;
    int accepts = 0;
    QTimer user;
    user.setInterval(20);
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        // The answers go through the event queue: the question opens inside the dialog's
        // accept, and this timer fires again only once its handler has returned.
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            asked << box->text();
            QAbstractButton* answer = box->button(asked.size() == 1 ? QMessageBox::No : QMessageBox::Yes);
            QMetaObject::invokeMethod(answer, &QAbstractButton::click, Qt::QueuedConnection);
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            // QFileDialog's accept is reached through QDialog's; after two questions, give up
            // rather than hang.
            const auto answer = ++accepts > 2 ? &QDialog::reject : &QDialog::accept;
            QMetaObject::invokeMethod(dialog, answer, Qt::QueuedConnection);
        }
    });
    user.start();
    const std::optional<QString> chosen = QtCommonDialog().ShowSave(request);
    user.stop();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QFileInfo(*chosen).absoluteFilePath(), QFileInfo(existing).absoluteFilePath());
    EXPECT_EQ(asked, QStringList(2, QStringLiteral("old.cgf already exists.\nDo you want to replace it?")));
}

} // namespace
} // namespace zov::ui::testing
