#include "app/desktop/DocumentFileWatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace zov::app {

DocumentFileWatch::DocumentFileWatch(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)), settle_(new QTimer(this))
{
    settle_->setSingleShot(true);
    settle_->setInterval(300);
    connect(settle_, &QTimer::timeout, this, [this] {
        if (!path_.isEmpty() && QFileInfo::exists(path_) && !watcher_->files().contains(path_))
            watcher_->addPath(path_); // replaced by a rename: watched again
        Q_EMIT stirred();
    });
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle_, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
}

bool DocumentFileWatch::watch(const QString& path)
{
    if (path == path_)
        return false;
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    settle_->stop();
    path_ = path;
    if (path.isEmpty())
        return true;
    watcher_->addPath(QFileInfo(path).absolutePath());
    if (QFileInfo::exists(path))
        watcher_->addPath(path);
    return true;
}

void DocumentFileWatch::again()
{
    settle_->start();
}

} // namespace zov::app
