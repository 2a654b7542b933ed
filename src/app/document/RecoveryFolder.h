#pragma once
// Copies of unsaved work, kept while the editor runs so that a crash, a kill or a lost display
// loses at most the last minute of it. Each editor process keeps one copy in the folder,
// "PID.pptx", with "PID.txt" naming the file it is the work of (empty for a presentation never
// saved); a save, a clean exit or going back to the saved state takes them away. At the next
// start the copies of processes that are gone are offered back.
#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

namespace zov::app {

class RecoveryFolder {
public:
    // `folder` is made when the first copy is kept.
    explicit RecoveryFolder(QString folder);
    // The user's own: the application's data folder (~/.local/share/ZOVEdit/recovery).
    static QString DefaultFolder();

    // Replaces this process's copy with `pptx`, the work on `source` (empty: never saved).
    // False when it cannot be written (the previous copy, if any, stays).
    bool Keep(const QByteArray& pptx, const QString& source);
    // Takes this process's copy away (nothing to do when there is none).
    void Drop();

    struct Left {
        QString copy;   // the .pptx in the folder
        QString source; // the file it is the work of, or empty
        QDateTime kept; // when it was written
    };
    // The copies whose process is no longer running (`alive` says whether a process id is).
    std::vector<Left> LeftBehind(const std::function<bool(qint64)>& alive = ProcessAlive) const;
    // Takes away what writes cut short by such a process left: a copy's temporary file, and a
    // "PID.txt" without its copy. Left behind, they would never be offered nor go.
    void RemoveLeftovers(const std::function<bool(qint64)>& alive = ProcessAlive) const;
    // Copies a left copy to a file of the user's, beside its source as "NAME (recovered).pptx"
    // (".pptm", ".ppsx" and the other kinds keep their extension; then "(recovered 2)" and on),
    // or in `fallbackFolder` for work never saved or a folder that takes no file. The new file's
    // path, or empty with `problem` set. The copy stays until Discard: the caller takes it away
    // once the new file proves good.
    static QString Restore(const Left& left, const QString& fallbackFolder, QString& problem);
    // Writes `pptx`, the work on `source`, as Restore names and places it: for work that must be
    // kept at once and cannot go into the folder (an editor ended while its drive is full).
    static QString SaveRecovered(const QByteArray& pptx, const QString& source, const QString& fallbackFolder,
                                 QString& problem);
    static void Discard(const Left& left);

    static bool ProcessAlive(qint64 pid);

private:
    QString CopyPath(qint64 pid) const;
    QString folder_;
};

} // namespace zov::app
