#include "host/pptx/ZipArchive.h"

#include "host/pptx/PptxError.h"

#include <zip.h>

#include <QSet>

#include <algorithm>
#include <memory>

namespace zov::host::pptx {
namespace {

[[noreturn]] void fail(const QString& reason)
{
    throw PptxError(reason);
}

bool looksLikeOle2(const QByteArray& bytes)
{
    static const char magic[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    return bytes.size() >= 8 && std::equal(magic, magic + 8, bytes.constData());
}

struct ArchiveCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct FileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

} // namespace

std::int64_t ZipLimits::totalAllowed(std::int64_t archiveBytes) const
{
    const std::int64_t byRatio = archiveBytes > maxTotalSize / std::max<std::int64_t>(1, maxRatio)
                                     ? maxTotalSize
                                     : archiveBytes * maxRatio;
    return std::min(maxTotalSize, std::max(ratioFreeSize, byRatio));
}

QString ZipLimits::refusal(std::int64_t entries, std::int64_t largestPart, std::int64_t total,
                           std::int64_t archiveBytes) const
{
    if (archiveBytes > maxArchiveSize)
        return QStringLiteral("the file would be %1 bytes; at most %2 are read").arg(archiveBytes).arg(maxArchiveSize);
    if (entries > maxEntries)
        return QStringLiteral("the package would have %1 parts; at most %2 are read").arg(entries).arg(maxEntries);
    if (largestPart > maxEntrySize)
        return QStringLiteral("a part would be %1 bytes; at most %2 are read").arg(largestPart).arg(maxEntrySize);
    if (total > totalAllowed(archiveBytes))
        return QStringLiteral("the parts would be %1 bytes in all; at most %2 are read").arg(total).arg(totalAllowed(archiveBytes));
    return QString();
}

std::vector<ZipEntry> readZip(const QByteArray& bytes, const ZipLimits& limits)
{
    const std::int64_t maxTotalSize = limits.totalAllowed(bytes.size());
    if (looksLikeOle2(bytes))
        fail(QStringLiteral("not an Office Open XML package: it is an OLE2 compound file (a password-protected presentation or an old binary .ppt)"));
    if (bytes.size() < 22 || !bytes.startsWith("PK"))
        fail(QStringLiteral("not a presentation (not a zip archive)"));

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        fail(QStringLiteral("out of memory"));
    }
    std::unique_ptr<zip_t, ArchiveCloser> archive(zip_open_from_source(source, ZIP_RDONLY, &error));
    if (!archive) {
        zip_source_free(source);
        // A file that starts as a zip archive but whose directory at the end is gone (cut short
        // by a copy or download) is "not a zip archive" to the library: say what that means.
        const QString why = zip_error_code_zip(&error) == ZIP_ER_NOZIP
                                ? QStringLiteral("its directory of entries, at the end of the file, is missing")
                                : QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        fail(QStringLiteral("not a presentation (a damaged or truncated zip archive: %1)").arg(why));
    }
    zip_error_fini(&error);

    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count < 0 || count > limits.maxEntries)
        fail(QStringLiteral("too many entries in the zip archive (%1; at most %2 are read)").arg(count).arg(limits.maxEntries));

    std::vector<ZipEntry> entries;
    entries.reserve(static_cast<size_t>(count));
    QSet<QString> seen;
    std::int64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME) || !st.name)
            fail(QStringLiteral("damaged zip archive (entry %1 cannot be read)").arg(i));
        const QString name = QString::fromUtf8(st.name);
        if (name.isEmpty() || name.endsWith(QLatin1Char('/')))
            continue; // directory entries carry no part
        if (seen.contains(name.toLower()))
            fail(QStringLiteral("damaged package: the part \"%1\" is stored twice").arg(name));
        seen.insert(name.toLower());
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
            fail(QStringLiteral("the part \"%1\" is encrypted").arg(name));
        if ((st.valid & ZIP_STAT_SIZE) && st.size > static_cast<zip_uint64_t>(limits.maxEntrySize))
            fail(QStringLiteral("the part \"%1\" is too large (%2 bytes uncompressed; at most %3 are read)")
                     .arg(name).arg(st.size).arg(limits.maxEntrySize));
        if ((st.valid & ZIP_STAT_SIZE) && total + static_cast<std::int64_t>(st.size) > maxTotalSize)
            fail(QStringLiteral("the archive expands beyond the size limit (%1 bytes uncompressed): a zip bomb or a file too large")
                     .arg(maxTotalSize));
        std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(i), 0));
        if (!file)
            fail(QStringLiteral("the part \"%1\" cannot be read (%2)").arg(name, QString::fromUtf8(zip_strerror(archive.get()))));
        // Read with a cap: the stated size may lie, so it is never trusted beyond the limit.
        const std::int64_t cap = std::min(limits.maxEntrySize, maxTotalSize - total);
        QByteArray data;
        if (st.valid & ZIP_STAT_SIZE)
            data.reserve(static_cast<qsizetype>(std::min<zip_uint64_t>(st.size, static_cast<zip_uint64_t>(cap))));
        char buffer[65536];
        for (;;) {
            const zip_int64_t n = zip_fread(file.get(), buffer, sizeof buffer);
            if (n < 0)
                fail(QStringLiteral("the part \"%1\" is damaged (%2)").arg(name, QString::fromUtf8(zip_file_strerror(file.get()))));
            if (n == 0)
                break;
            if (data.size() + n > cap)
                fail(QStringLiteral("the archive expands beyond the size limit (part \"%1\"): a zip bomb or a file too large").arg(name));
            data.append(buffer, static_cast<qsizetype>(n));
        }
        total += data.size();
        entries.push_back({name, std::move(data)});
    }
    return entries;
}

void refuseToWrite(const QString& why)
{
    throw PptxError(QStringLiteral("the presentation is too large to be opened again (%1); nothing was saved").arg(why));
}

QByteArray writeZip(const std::vector<std::pair<QString, const QByteArray*>>& entries, int level,
                    const ZipLimits& limits)
{
    // What the archive could never be read back with is refused before any work.
    std::int64_t largest = 0, total = 0;
    for (const auto& entry : entries) {
        largest = std::max<std::int64_t>(largest, entry.second->size());
        total += entry.second->size();
    }
    // The archive's own size is known only at the end; the rest is checked first.
    const QString early = limits.refusal(static_cast<std::int64_t>(entries.size()), largest, 0, 0);
    if (!early.isEmpty())
        refuseToWrite(early);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = target ? zip_open_from_source(target, ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (!archive) {
        if (target)
            zip_source_free(target);
        throw PptxError(QStringLiteral("cannot create the zip archive in memory"));
    }
    zip_source_keep(target); // the archive must not free it on close: the result is read from it
    bool ok = true;
    for (const auto& [name, data] : entries) {
        zip_source_t* s = zip_source_buffer(archive, data->constData(), static_cast<zip_uint64_t>(data->size()), 0);
        const QByteArray utf8 = name.toUtf8();
        const zip_int64_t index = s ? zip_file_add(archive, utf8.constData(), s, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (s)
                zip_source_free(s);
            ok = false;
            break;
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, static_cast<zip_uint32_t>(level));
        zip_file_set_dostime(archive, static_cast<zip_uint64_t>(index), 0, (1 << 5) | 1, 0); // 1980-01-01 00:00
    }
    if (!ok || zip_close(archive) != 0) {
        zip_discard(archive);
        zip_source_free(target);
        throw PptxError(QStringLiteral("cannot build the zip archive"));
    }
    QByteArray out;
    if (zip_source_open(target) == 0) {
        zip_source_seek(target, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(target);
        zip_source_seek(target, 0, SEEK_SET);
        if (size > 0) {
            out.resize(static_cast<qsizetype>(size));
            if (zip_source_read(target, out.data(), static_cast<zip_uint64_t>(size)) != size)
                out.clear();
        }
        zip_source_close(target);
    }
    zip_source_free(target);
    if (out.isEmpty())
        throw PptxError(QStringLiteral("cannot build the zip archive"));
    const QString late = limits.refusal(static_cast<std::int64_t>(entries.size()), largest, total, out.size());
    if (!late.isEmpty())
        refuseToWrite(late);
    return out;
}

} // namespace zov::host::pptx
