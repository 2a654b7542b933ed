#include "app/document/RecoveryFolder.h"

#include "host/pptx/PackageKind.h"
#include "platform/OutputFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>

namespace zov::app {

namespace {

QString SourceFileOf(const QString& copy) { return copy.chopped(5) + QStringLiteral(".txt"); } // "PID.pptx" -> "PID.txt"

// Writes `bytes` whole, or leaves any previous file as it was.
bool WriteWhole(const QString& path, const QByteArray& bytes) {
    try {
        platform::OutputFile file(path);
        file.Write(bytes);
        file.Commit();
        return true;
    } catch (const platform::FileError&) {
        return false;
    }
}

} // namespace

RecoveryFolder::RecoveryFolder(QString folder) : folder_(std::move(folder)) {}

QString RecoveryFolder::DefaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("ZOVEdit/recovery"));
}

QString RecoveryFolder::CopyPath(qint64 pid) const {
    return QDir(folder_).filePath(QString::number(pid) + QStringLiteral(".pptx"));
}

bool RecoveryFolder::Keep(const QByteArray& pptx, const QString& source) {
    if (!QDir().mkpath(folder_))
        return false;
    const QString copy = CopyPath(QCoreApplication::applicationPid());
    // The name first: a copy is never without it.
    return WriteWhole(SourceFileOf(copy), source.toUtf8()) && WriteWhole(copy, pptx);
}

void RecoveryFolder::Drop() {
    const QString copy = CopyPath(QCoreApplication::applicationPid());
    QFile::remove(copy);
    QFile::remove(SourceFileOf(copy));
}

std::vector<RecoveryFolder::Left> RecoveryFolder::LeftBehind(const std::function<bool(qint64)>& alive) const {
    std::vector<Left> left;
    const QFileInfoList copies = QDir(folder_).entryInfoList({QStringLiteral("*.pptx")}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& copy : copies) {
        bool isNumber = false;
        const qint64 pid = copy.completeBaseName().toLongLong(&isNumber);
        if (!isNumber || pid == QCoreApplication::applicationPid() || alive(pid))
            continue;
        QFile source(SourceFileOf(copy.filePath()));
        const QString name = source.open(QIODevice::ReadOnly) ? QString::fromUtf8(source.readAll()) : QString();
        left.push_back({copy.filePath(), name, copy.lastModified()});
    }
    return left;
}

void RecoveryFolder::RemoveLeftovers(const std::function<bool(qint64)>& alive) const {
    const QDir folder(folder_);
    // A copy is written as ".PID.pptx~zovedit-XXXXXX" and renamed; its source name as "PID.txt" first.
    static const QRegularExpression temporary(QStringLiteral("^\\.(\\d+)\\.(pptx|txt)~zovedit-.{6}$"));
    static const QRegularExpression sourceName(QStringLiteral("^(\\d+)\\.txt$"));
    const auto gone = [&](const QString& pid) {
        bool isNumber = false;
        const qint64 number = pid.toLongLong(&isNumber);
        return isNumber && number != QCoreApplication::applicationPid() && !alive(number);
    };
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (const QRegularExpressionMatch cut = temporary.match(name); cut.hasMatch()) {
            if (gone(cut.captured(1)))
                QFile::remove(folder.filePath(name));
        } else if (const QRegularExpressionMatch source = sourceName.match(name); source.hasMatch()) {
            if (!folder.exists(source.captured(1) + QStringLiteral(".pptx")) && gone(source.captured(1)))
                QFile::remove(folder.filePath(name));
        }
    }
}

QString RecoveryFolder::Restore(const Left& left, const QString& fallbackFolder, QString& problem) {
    QFile copy(left.copy);
    if (!copy.open(QIODevice::ReadOnly)) {
        problem = copy.errorString();
        return {};
    }
    return SaveRecovered(copy.readAll(), left.source, fallbackFolder, problem);
}

QString RecoveryFolder::SaveRecovered(const QByteArray& bytes, const QString& sourcePath, const QString& fallbackFolder,
                                      QString& problem) {
    const QFileInfo source(sourcePath);
    const QString base = sourcePath.isEmpty() ? QStringLiteral("Presentation") : source.completeBaseName();
    // The work of a slide show, a template or a deck with macros keeps its kind's extension,
    // which PowerPoint wants to match the package.
    const QString extension = host::pptx::kindOfFileName(sourcePath) ? source.suffix() : QStringLiteral("pptx");
    QStringList folders;
    if (!sourcePath.isEmpty())
        folders << source.absolutePath();
    folders << fallbackFolder;
    for (const QString& folder : folders) {
        for (int n = 1; n < 1000; ++n) {
            const QString name = n == 1 ? QStringLiteral("%1 (recovered).%2").arg(base, extension)
                                        : QStringLiteral("%1 (recovered %2).%3").arg(base).arg(n).arg(extension);
            const QString target = QDir(folder).filePath(name);
            if (QFileInfo::exists(target))
                continue;
            if (!WriteWhole(target, bytes))
                break; // this folder takes no file: the next one
            return target;
        }
    }
    problem = QStringLiteral("no folder takes the file");
    return {};
}

void RecoveryFolder::Discard(const Left& left) {
    QFile::remove(left.copy);
    QFile::remove(SourceFileOf(left.copy));
}

// An editor still running: a process of that id that is neither ended and waiting to be
// reaped (a zombie, right after a crash) nor another program that took the id since (after a
// restart ids come round again). Where /proc cannot tell, any process of that id counts.
bool RecoveryFolder::ProcessAlive(qint64 pid) {
    if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM))
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close >= 0 && close + 2 < line.size() && (line[close + 2] == 'Z' || line[close + 2] == 'X'))
        return false;
    const QString program = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    return program.isEmpty() ||
           QFileInfo(program.endsWith(QStringLiteral(" (deleted)")) ? program.chopped(10) : program).fileName() ==
               QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

} // namespace zov::app
