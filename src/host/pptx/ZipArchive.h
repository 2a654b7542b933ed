#pragma once
// Reading and writing the zip container of a package, entirely in memory, with limits that
// keep a hostile archive (zip bomb, millions of entries) from exhausting the machine.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

namespace zov::host::pptx {

struct ZipLimits {
    std::int64_t maxEntries = 10000;
    std::int64_t maxEntrySize = 256ll << 20; // uncompressed bytes of one part
    std::int64_t maxTotalSize = 512ll << 20; // uncompressed bytes of all parts
};

struct ZipEntry {
    QString name;
    QByteArray data;
};

// Every file entry of the archive in archive order (directory entries are left out). Throws
// PptxError with the reason when the bytes are not a readable zip archive, when an entry is
// encrypted, damaged or named twice, or when a limit is exceeded; the stated sizes in the
// archive are never trusted, decompression stops at the limit.
std::vector<ZipEntry> readZip(const QByteArray& bytes, const ZipLimits& limits = {});

// Deflates every entry, in the given order, with a fixed time stamp so equal input gives
// equal output.
QByteArray writeZip(const std::vector<std::pair<QString, const QByteArray*>>& entries, int level = 6);

} // namespace zov::host::pptx
