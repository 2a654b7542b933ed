#include "ui/QtHelpViewer.h"

#include "platform/MessageBox.h"
#include "ui/FocusReturn.h"
#include "ui/HelpWindow.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <QDir>
#include <QFileInfo>

namespace zov::ui {

QtHelpViewer::QtHelpViewer(platform::MessageBoxes& messages) : messages_(messages) {}

QtHelpViewer::~QtHelpViewer() { delete window_.data(); }

HelpWindow* QtHelpViewer::Window() const { return window_.data(); }

bool QtHelpViewer::ShowHelp(const QString& location, platform::HelpCommand command) {
    const platform::HelpLocation where = platform::SplitHelpLocation(location);
    const QString file = QFileInfo(where.file).absoluteFilePath();
    if (!window_ || loadedFile_ != file) {
        QString error;
        auto project = ReadHelpProject(file, &error);
        if (!project) {
            messages_.inform(QStringLiteral("The help cannot be shown: %1").arg(error), QStringLiteral("ZOVEdit"),
                             platform::MessageIcon::Critical);
            return false;
        }
        if (!window_) {
            window_ = new HelpWindow;
            window_->setAttribute(Qt::WA_DeleteOnClose);
            // Beside a tool window it is opened from (the palette), else in the middle; closed,
            // it gives the keyboard back to that window.
            QWidget* from = QApplication::activeWindow();
            QObject::connect(window_, &QObject::destroyed, qApp, [opener = QPointer<QWidget>(from)] {
                QTimer::singleShot(0, qApp, [opener] { KeyboardToAWindowLeft(opener); });
            });
            if (from && from->windowType() == Qt::Tool)
                PlaceBesideOrCentre(*window_, from);
            else
                CentreOnScreen(*window_, from);
        }
        window_->SetProject(std::move(*project));
        loadedFile_ = file;
    }
    if (!where.topic.isEmpty())
        window_->ShowTopic(where.topic);
    if (command == platform::HelpCommand::Index)
        window_->ShowIndex();
    else
        window_->ShowContents();
    window_->show();
    window_->raise();
    window_->activateWindow();
    return true;
}

} // namespace zov::ui
