#include "host/pptx/PptxFile.h"

#include "host/pptx/PackageReader.h"
#include "host/pptx/PackageWriter.h"
#include "host/pptx/ZipArchive.h"

#include <QFileInfo>
#include "platform/OutputFile.h"

#include <exception>
#include <new>
#include <utility>

namespace zov::host {
namespace {

QString displayPath(const QString& path)
{
    const QFileInfo info(path);
    return info.isRelative() ? info.absoluteFilePath() : path;
}

[[noreturn]] void rethrow(const QString& verb, const QString& file)
{
    QString reason;
    try {
        throw;
    } catch (const PptxError& e) {
        reason = e.reason();
    } catch (const platform::FileError& e) {
        reason = e.reason().isEmpty() ? e.message() : e.reason();
    } catch (const std::bad_alloc&) {
        reason = QStringLiteral("not enough memory");
    } catch (const std::exception& e) {
        reason = QString::fromUtf8(e.what());
    } catch (...) {
        reason = QStringLiteral("unexpected failure");
    }
    throw PptxError(QStringLiteral("Cannot %1 \"%2\": %3").arg(verb, file, reason), file, reason);
}

Presentation read(QByteArray bytes, const QString& name)
{
    try {
        Presentation presentation(pptx::readPackage(std::move(bytes)));
        presentation.data().fullName = name;
        return presentation;
    } catch (...) {
        rethrow(QStringLiteral("open"), name);
    }
}

} // namespace

Presentation readPresentation(QByteArray bytes, const QString& displayName)
{
    return read(std::move(bytes), displayName);
}

Presentation openPresentation(Application& app, QByteArray bytes, const QString& displayName)
{
    Presentation presentation = read(std::move(bytes), displayName);
    app.Open(presentation);
    return presentation;
}

Presentation openPresentation(Application& app, const QString& path)
{
    const QString name = displayPath(path);
    QFile file(path);
    QByteArray bytes;
    try {
        const QFileInfo info(path);
        if (!info.exists())
            throw PptxError(QStringLiteral("the file does not exist"));
        if (info.isDir())
            throw PptxError(QStringLiteral("it is a folder, not a file"));
        if (!file.open(QIODevice::ReadOnly))
            throw PptxError(file.errorString());
        // A presentation is read whole; anything beyond the archive limits is refused unread.
        const qint64 maxFileSize = pptx::ZipLimits{}.maxArchiveSize;
        if (file.size() > maxFileSize)
            throw PptxError(QStringLiteral("the file is too large (%1 bytes)").arg(file.size()));
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw PptxError(file.errorString());
    } catch (...) {
        rethrow(QStringLiteral("open"), name);
    }
    return openPresentation(app, std::move(bytes), name); // the bytes go once they are unpacked
}

bool isDigitallySigned(const Presentation& presentation)
{
    const std::shared_ptr<pptx::Package> package = pptx::packageOf(presentation.data());
    if (!package)
        return false;
    for (const pptx::Part& part : package->parts.all())
        if (part.name.startsWith(QLatin1String("_xmlsignatures/"), Qt::CaseInsensitive))
            return true;
    return false;
}

QByteArray presentationBytes(const Presentation& presentation, const QString& displayName)
{
    try {
        return pptx::writePackage(presentation.data()).bytes;
    } catch (...) {
        rethrow(QStringLiteral("save"), displayName);
    }
}

void checkSaveTarget(const QString& path)
{
    try {
        platform::CheckOutputTarget(path);
    } catch (...) {
        rethrow(QStringLiteral("save"), displayPath(path));
    }
}

QByteArray savePresentation(const Presentation& presentation, const QString& path,
                            const std::optional<platform::FileStamp>& unchangedSince)
{
    const QString name = displayPath(path);
    try {
        PresentationData& data = presentation.data();
        // The package becomes the kind its name says (a slide show saved as ".pptx" a
        // presentation). Macros are never dropped: under a name of another kind that cannot hold
        // them the save is refused; under a name of the kind it was read with (a ".pptx" that
        // held macros already), it stays as it was read.
        const std::optional<pptx::PackageKind> kind = pptx::kindOfFileName(path);
        const bool sameKindOfName = kind && kind == pptx::kindOfFileName(data.fullName);
        pptx::SaveResult saved =
            pptx::writePackage(data, kind, sameKindOfName ? pptx::MacrosLost::KeepKind : pptx::MacrosLost::Refused);
        platform::OutputFile file(path);
        file.Write(saved.bytes);
        file.Commit(unchangedSince);
        QByteArray written = saved.bytes; // shared, not copied
        pptx::adoptSaved(data, std::move(saved));
        data.fullName = name;
        data.saved = true;
        return written;
    } catch (...) {
        rethrow(QStringLiteral("save"), name);
    }
}

} // namespace zov::host
