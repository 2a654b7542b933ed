#pragma once
// Watches the open document's file, so that a version another program writes is known at once
// rather than at the next save. The folder is watched too: a program that saves by writing a new
// file and renaming it over the old one replaces the file watched, and its watch with it. The
// watch stirs many times while a file is written, so `stirred` comes once they have settled, and
// at most 1.5 s after the first.
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QFileSystemWatcher;
class QTimer;

namespace zov::app {

class DocumentFileWatch : public QObject {
    Q_OBJECT
public:
    explicit DocumentFileWatch(QObject* parent = nullptr);
    // Watches `path` (empty: nothing) in place of the file watched so far. False when it was
    // that file already.
    bool watch(const QString& path);
    const QString& path() const { return path_; }

Q_SIGNALS:
    void stirred(); // 0.3 s after the file or its folder last changed

private:
    void stir();

    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* settle_ = nullptr;
    QString path_;
    QElapsedTimer firstStir_; // since the first stir the settling waits for
};

} // namespace zov::app
