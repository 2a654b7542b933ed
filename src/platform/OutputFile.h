#pragma once
// Writing one output file so that a failure never costs the user the file that was there.
//
// A regular file (or a name not in use yet) is written to a temporary file beside it, which
// replaces it by a rename only when every byte was written and flushed to the disk: a full
// disk, a file-size limit or a kill leaves the previous file whole, and an interrupt (Ctrl-C,
// SIGTERM, SIGHUP) takes the temporary away with it. A symbolic link is followed,
// so the file it names is replaced and the link stays; the replaced file's permissions (and,
// when allowed, owner) carry over. A read-only file (one the user may not write, or one without
// any write permission) is not replaced. Anything that is not a regular file (a character device such
// as /dev/null, a FIFO, a socket) is written directly: replacing it by a rename would put a
// regular file where the device or pipe was. A name under /dev or /proc (/dev/stdout,
// /proc/self/fd/N) stands for a file already open and is written through as given.
//
// Failures are FileError whose message names the file and the operating system's reason, as
//   Cannot write "/media/full/a.pptx": No space left on device
#include "platform/RemovedOnInterrupt.h"
#include "platform/TextStream.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <optional>

namespace zov::platform {

// What tells one version of a file from another: a file replaced or rewritten by another program
// has another stamp. Symbolic links are followed.
struct FileStamp {
    bool exists = false;
    qint64 device = 0, inode = 0, size = 0, modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const QString& path);

// Whether two file names name the same file, so that writing one would replace the other ("-",
// standard input or output, is no file): the same path, or, for files that exist, the same
// file reached through a symbolic or hard link.
bool SameFile(const QString& a, const QString& b);

// Whether `path` names an existing file that is not replaced when saved over: the user may not
// write it, or nobody may (no write permission at all, which holds the superuser too).
bool IsReadOnlyFile(const QString& path);

// The reason text for an errno value, as the operating system words it.
QString SystemReason(int error);

// Throws the FileError that opening `path` as an OutputFile would throw (a folder, a read-only
// file, a folder that is missing or takes no new files, a loop of links), without writing
// anything, so that a command can refuse before the work of making its output. A name that
// stands for a device, a pipe or an open file (/dev/..., /proc/...) is left alone: opening
// it may wait, or truncate what another process reads.
void CheckOutputTarget(const QString& path);

// Removes the temporary files that writes of `path` cut short by a kill or a power cut left beside
// the file it stands for (".NAME~zovedit-XXXXXX"), once they are older than `age`: a younger one
// may belong to a write still under way. The file itself and every other name stay.
void RemoveAbandonedTemporaries(const QString& path, std::chrono::seconds age);

class OutputFile {
public:
    // Opens `path` for writing (a FIFO: waits for its reader). Throws FileError
    // "Cannot create \"PATH\": REASON".
    explicit OutputFile(const QString& path);
    // Without Commit the output is abandoned: a temporary is removed and the file it was to
    // replace stays as it was.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Throws FileError "Cannot write \"PATH\": REASON".
    void Write(const char* data, qint64 size);
    void Write(const QByteArray& bytes) { Write(bytes.constData(), bytes.size()); }

    // Makes what was written the file. With `unchangedSince`, a regular file is replaced only
    // while it is still the version with that stamp (the one that was read), or made again when
    // it is gone; otherwise the temporary is removed and FileError says that another program
    // changed the file.
    void Commit(const std::optional<FileStamp>& unchangedSince = std::nullopt);
    // Ends without making the file, as the destructor does.
    void Abandon();

    // True when the target is written directly (not a regular file).
    bool IsDirect() const { return direct_; }
    const QString& Path() const { return path_; }

private:
    [[noreturn]] void fail(const char* verb, int error);

    QString path_;       // as given, for messages
    QByteArray target_;  // the file to write or replace, links followed
    QByteArray temporary_;
    std::optional<RemovedOnInterrupt> temporaryCleanup_; // the temporary goes on Ctrl-C too
    int fd_ = -1;
    bool direct_ = false;
    bool done_ = false;
};

} // namespace zov::platform
