#pragma once
// Reading and writing the zip container of a package, entirely in memory, with limits that
// keep a hostile archive (zip bomb, millions of entries) from exhausting the machine.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

namespace zov::host::pptx {

// The one set of numbers for what a package may hold: reading refuses beyond them, and saving
// refuses (before anything is replaced) to write what reading would refuse, so that every file
// written can be opened again.
struct ZipLimits {
    std::int64_t maxArchiveSize = 1ll << 30; // bytes of the .pptx file itself
    std::int64_t maxEntries = 100000;
    std::int64_t maxEntrySize = 1ll << 30;   // uncompressed bytes of one part
    std::int64_t maxTotalSize = 2ll << 30;   // uncompressed bytes of all parts, whatever the ratio
    // Beyond ratioFreeSize uncompressed bytes in all, the parts may expand at most maxRatio
    // times the archive's size: a zip bomb expands thousands of times, slide XML tens of times.
    std::int64_t ratioFreeSize = 256ll << 20;
    std::int64_t maxRatio = 200;

    // The uncompressed bytes of all parts allowed for an archive of `archiveBytes`.
    std::int64_t totalAllowed(std::int64_t archiveBytes) const;
    // Why a package of `entries` parts, the largest `largestPart` bytes, `total` bytes in all,
    // in an archive of `archiveBytes`, would not be read; empty when it would.
    QString refusal(std::int64_t entries, std::int64_t largestPart, std::int64_t total, std::int64_t archiveBytes) const;
};

// The most slides an import puts into a presentation: each slide takes two parts of the package
// (its XML and its relationships), and room is left for 2,000 parts besides them (masters,
// layouts, themes, media, notes), so that a presentation filled this far can still be saved and
// opened again. A save checks the real count anyway.
constexpr int SlidesThatReopen = 49000;
static_assert(2 * std::int64_t(SlidesThatReopen) + 2000 <= ZipLimits{}.maxEntries);

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
// equal output. Throws PptxError when readZip with `limits` would refuse the result.
// Throws the PptxError that refuses to save a package the reader would refuse for `why`.
[[noreturn]] void refuseToWrite(const QString& why);

QByteArray writeZip(const std::vector<std::pair<QString, const QByteArray*>>& entries, int level = 6,
                    const ZipLimits& limits = {});

} // namespace zov::host::pptx
