#include "app/desktop/DocumentFileWatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <algorithm>

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
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &DocumentFileWatch::stir);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &DocumentFileWatch::stir);
}

// Waits for the stirs to settle, but never longer than a moment after the first: a folder that
// never rests (a build, a sync tool, a download beside the document) must not hold the news back.
void DocumentFileWatch::stir()
{
    constexpr qint64 Settle = 300, LongestWait = 1500; // milliseconds
    if (!settle_->isActive())
        firstStir_.start();
    settle_->start(static_cast<int>(std::clamp<qint64>(LongestWait - firstStir_.elapsed(), 0, Settle)));
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

} // namespace zov::app
