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
    std::int64_t maxEntrySize = 256ll << 20;  // uncompressed bytes of one part
    std::int64_t maxTotalSize = 1024ll << 20; // uncompressed bytes of all parts
};

struct ZipEntry {
    QString name;
    QByteArray data;
};

// Throws PptxError(fileLabel + reason) when the bytes are not a readable zip archive.
std::vector<ZipEntry> readZip(const QByteArray& bytes, const QString& fileLabel, const ZipLimits& limits = {});

// Deflates every entry, in the given order, with a fixed time stamp so equal input gives equal output.
QByteArray writeZip(const std::vector<std::pair<QString, const QByteArray*>>& entries);

} // namespace zov::host::pptx
