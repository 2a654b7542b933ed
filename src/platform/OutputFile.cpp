#include "platform/OutputFile.h"

#include "platform/HiddenFileName.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zov::platform {

namespace {

constexpr int MaxLinksFollowed = 40;

QByteArray directoryOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray baseNameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// The file a path stands for once symbolic links are followed; a link to a name not in use
// stands for that name, which the save then creates.
QByteArray followLinks(QByteArray path) {
    for (int i = 0; i < MaxLinksFollowed; ++i) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        QByteArray target(static_cast<qsizetype>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(path.constData(), target.data(), static_cast<std::size_t>(target.size()));
        if (n <= 0 || n >= target.size())
            return path;
        target.truncate(n);
        path = target.startsWith('/') ? target : directoryOf(path) + '/' + target;
    }
    // Still a link after that many: a loop of links, which names no file to write.
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode))
        return {};
    return path;
}

// The temporary's name with its six random characters left out: ".NAME~zovedit-", a name no one
// gives a file of their own, so that one a killed save left is known for one (a ".NAME~backup"
// of the user's is not).
QByteArray temporaryPrefix(const QByteArray& target) {
    QByteArray name = HiddenNameBeside(baseNameOf(target), "~zovedit-XXXXXX");
    name.chop(6);
    return name;
}

// A name that stands for a file already open (/dev/stdout, /dev/fd/N, /proc/self/fd/N): what
// the kernel opens through it decides, so it is written where it is, never replaced. Any other
// name under /dev or /proc (a file in /dev/shm) is what its own type says: a device is written
// where it is, an ordinary file is replaced whole like any other.
bool NamesOpenFile(const QByteArray& path) {
    static const QRegularExpression openFile(
        QStringLiteral("^/(dev/(stdin|stdout|stderr|fd/[0-9]+)|proc/(self|thread-self|[0-9]+)/fd/[0-9]+)$"));
    return openFile.match(QString::fromLatin1(path)).hasMatch();
}

// A file the user may not write, or nobody may (a protection even the superuser is held to).
bool ReadOnly(const char* path, const struct stat& st) { return ::access(path, W_OK) != 0 || (st.st_mode & 0222) == 0; }

mode_t currentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

bool SameFile(const QString& a, const QString& b) {
    if (a == QLatin1String("-") || b == QLatin1String("-"))
        return false;
    // Two names of one existing file, whatever links lead there, are the same file.
    const FileStamp first = StampOf(a), second = StampOf(b);
    if (first.exists && second.exists)
        return first.device == second.device && first.inode == second.inode;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

bool IsReadOnlyFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    return ::stat(name.constData(), &st) == 0 && S_ISREG(st.st_mode) && ReadOnly(name.constData(), st);
}

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

FileStamp StampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {true, static_cast<qint64>(st.st_dev), static_cast<qint64>(st.st_ino), static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

void CheckOutputTarget(const QString& path) {
    const QByteArray given = QFile::encodeName(path);
    if (NamesOpenFile(given))
        return;
    struct stat st {};
    if (::stat(given.constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return;
    OutputFile probe(path); // throws as the real output would
    probe.Abandon();
}

void RemoveAbandonedTemporaries(const QString& path, std::chrono::seconds age) {
    const QByteArray target = followLinks(QFile::encodeName(path));
    if (target.isEmpty())
        return;
    const QByteArray prefix = temporaryPrefix(target);
    const QDir folder(QFile::decodeName(directoryOf(target)));
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-age.count());
    // The name is compared whole: the file's own name may hold characters a pattern reads.
    const QFileInfoList found =
        folder.entryInfoList({QStringLiteral(".*~zovedit-??????")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& temporary : found) {
        const QByteArray name = QFile::encodeName(temporary.fileName());
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix) && temporary.lastModified().toUTC() < before)
            QFile::remove(temporary.filePath());
    }
}

OutputFile::OutputFile(const QString& path) : path_(path) {
    if (path.isEmpty())
        throw FileError(QStringLiteral("Cannot create a file without a name"));
    const QByteArray given = QFile::encodeName(path);
    struct stat st {};
    bool exists = ::stat(given.constData(), &st) == 0;
    // What the kernel opens through the name decides: a device or pipe, or a name standing for
    // an open file (/dev/stdout, /proc/self/fd/N), is written where it is.
    const bool openFileName = NamesOpenFile(given);
    target_ = openFileName ? given : followLinks(given);
    if (target_.isEmpty())
        fail("create", ELOOP);
    if (!openFileName)
        exists = ::stat(target_.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        throw FileError(QStringLiteral("Cannot create \"%1\": it is a folder").arg(path_),
                        QStringLiteral("it is a folder"));
    if (exists && (!S_ISREG(st.st_mode) || openFileName)) {
        direct_ = true;
        do
            fd_ = ::open(target_.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC | (S_ISREG(st.st_mode) ? O_TRUNC : 0));
        while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0)
            fail("create", errno);
        return;
    }
    // A file made read-only is not replaced, though its folder would allow the rename: the user
    // may not write it, or nobody may (a protection even the superuser is held to here).
    if (exists && ReadOnly(target_.constData(), st))
        throw FileError(QStringLiteral("Cannot write \"%1\": the file is read-only").arg(path_),
                        QStringLiteral("the file is read-only"));
    temporary_ = directoryOf(target_) + '/' + temporaryPrefix(target_) + "XXXXXX";
    {
        // A Ctrl-C right after the file is made still finds it covered.
        const InterruptsHeld held;
        fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
        if (fd_ >= 0)
            temporaryCleanup_.emplace(temporary_);
    }
    if (fd_ < 0) {
        const int error = errno;
        temporary_.clear();
        if (exists && (error == EACCES || error == EPERM)) {
            // The file itself may be writable: it is its folder that takes no new file.
            const QString reason = SystemReason(error) + QStringLiteral(
                " (its folder takes no new files, and a save writes the new file there before it replaces the old one)");
            throw FileError(QStringLiteral("Cannot write \"%1\": %2").arg(path_, reason), reason);
        }
        if (error == ENOENT && QFileInfo(QFile::decodeName(directoryOf(target_))).isDir()) {
            // A folder that is there but holds no files of anyone's making (/proc): the system
            // says "no such file", which would send the user looking for the wrong thing.
            const QString reason = QStringLiteral("its folder takes no new files; save it in another folder");
            throw FileError(QStringLiteral("Cannot create \"%1\": %2").arg(path_, reason), reason);
        }
        fail("create", error);
    }
    // The new file gets the old one's permissions and owner; a new name gets what the user's
    // file-creation mask allows.
    if (exists) {
        ::fchmod(fd_, st.st_mode & 07777);
        if (::fchown(fd_, st.st_uid, st.st_gid) != 0) {
            // Only the owner's superuser may give a file away; the permissions still carry over.
        }
    } else {
        ::fchmod(fd_, 0666 & ~currentUmask());
    }
}

OutputFile::~OutputFile() {
    Abandon();
}

void OutputFile::Abandon() {
    if (done_)
        return;
    done_ = true;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
    temporaryCleanup_.reset();
}

void OutputFile::fail(const char* verb, int error) {
    Abandon();
    const QString reason = SystemReason(error);
    throw FileError(QStringLiteral("Cannot %1 \"%2\": %3").arg(QLatin1String(verb), path_, reason), reason);
}

void OutputFile::Write(const char* data, qint64 size) {
    if (done_)
        throw FileError(QStringLiteral("The file \"%1\" is already closed").arg(path_));
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, static_cast<std::size_t>(std::min<qint64>(size, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail("write", errno);
        }
        if (n == 0)
            fail("write", EIO);
        data += n;
        size -= n;
    }
}

void OutputFile::Commit(const std::optional<FileStamp>& unchangedSince) {
    if (done_)
        throw FileError(QStringLiteral("The file \"%1\" is already closed").arg(path_));
    if (!direct_ && ::fsync(fd_) != 0)
        fail("write", errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR)
        fail("write", errno);
    if (direct_) {
        done_ = true;
        return;
    }
    // A file gone since (deleted, moved away) has nothing the save could write over.
    if (const FileStamp now = unchangedSince ? StampOf(QFile::decodeName(target_)) : FileStamp{};
        unchangedSince && now.exists && now != *unchangedSince) {
        Abandon();
        const QString reason = QStringLiteral("another program changed the file after it was read; it was left as it is");
        throw FileError(QStringLiteral("Cannot save \"%1\": %2").arg(path_, reason), reason);
    }
    if (::rename(temporary_.constData(), target_.constData()) != 0)
        fail("write", errno);
    temporaryCleanup_.reset();
    temporary_.clear();
    done_ = true;
    // The new name is on the disk too, not only the new bytes: a power cut after a save reported
    // done must not bring the old file back. Only advice where the file system takes none.
    // The folder is taken from the name's own bytes: one that is not UTF-8 would not survive a
    // trip through text.
    const qsizetype slash = target_.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target_.left(slash);
    if (const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace zov::platform
