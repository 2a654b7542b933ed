#pragma once
// The text of a record field (a node's name, type or referent) in one word. Copies share the
// text; the text itself is a block cut from a chunk. A RecordTextPool cuts many blocks from one
// chunk, so that the reader keeping a field's text allocates nothing of its own for it; a text
// made from a string anywhere else gets a chunk of its own. A chunk goes when the last text in it
// goes, and the pool lets go of it when it moves on to the next. Texts belong to the thread that
// reads: their count of holders is a plain one, since a locked count on every copy of a field
// cost a tenth of a check's time.
#include <QString>
#include <QStringView>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace zov::cgif {

// Two texts are the same: compared in place, without a call into the string library (the texts
// records keep are mostly a few characters long).
inline bool SameText(QStringView a, QStringView b) {
    return a.size() == b.size() &&
           (a.isEmpty() || std::memcmp(a.data(), b.data(), static_cast<std::size_t>(a.size()) * sizeof(QChar)) == 0);
}

// A hash of all of a text's characters for the readers' own hash tables, eight bytes at a time
// and mixed at the end so that names differing in one character spread over the slots.
inline std::uint32_t TextHash(QStringView text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t left = static_cast<std::size_t>(text.size()) * sizeof(QChar);
    std::uint64_t hash = 0x9e3779b97f4a7c15ull ^ left;
    while (left >= 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes, 8);
        hash = (hash ^ word) * 0xff51afd7ed558ccdull;
        hash ^= hash >> 29;
        bytes += 8;
        left -= 8;
    }
    if (left > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, left);
        hash = (hash ^ word) * 0xff51afd7ed558ccdull;
    }
    hash ^= hash >> 33;
    hash *= 0xc4ceb9fe1a85ec53ull;
    hash ^= hash >> 33;
    return static_cast<std::uint32_t>(hash);
}

class RecordTextPool;

class RecordText {
public:
    RecordText() = default;
    RecordText(QStringView text); // NOLINT: a field is set from any string
    RecordText(const QString& text) : RecordText(QStringView(text)) {} // NOLINT
    RecordText(const RecordText& other) noexcept : block_(other.block_) { Retain(); }
    RecordText(RecordText&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    RecordText& operator=(const RecordText& other) noexcept;
    RecordText& operator=(RecordText&& other) noexcept;
    ~RecordText() { Release(); }

    bool isEmpty() const { return block_ == nullptr; }
    qsizetype size() const { return block_ == nullptr ? 0 : block_->Size; }
    QStringView View() const { return block_ == nullptr ? QStringView() : QStringView(Chars(), block_->Size); }
    operator QStringView() const { return View(); } // NOLINT: read wherever a view is taken
    QString ToString() const { return View().toString(); }
    void clear() { Release(); }

    friend bool operator==(const RecordText& a, const RecordText& b) {
        return a.block_ == b.block_ || SameText(a.View(), b.View());
    }
    friend bool operator==(const RecordText& a, QStringView b) { return SameText(a.View(), b); }
    friend bool operator==(const RecordText& a, const QString& b) { return SameText(a.View(), b); }
    friend bool operator==(const RecordText& a, QLatin1StringView b) { return a.View() == b; }

private:
    friend class RecordTextPool;
    // A block: the text's size and where its chunk starts, then the text. A chunk: the count of
    // texts (and pool) holding it, then blocks, each 8-aligned.
    struct Block {
        std::uint32_t ChunkOffset;
        std::int32_t Size;
    };
    struct Chunk {
        std::uint64_t Holders;
    };
    static constexpr std::size_t BlockBytes(qsizetype size) {
        return (sizeof(Block) + 2 * static_cast<std::size_t>(size) + 7) & ~std::size_t(7);
    }
    // Writes the text into a block at `at` of `chunk`; the caller counts the chunk's new holder.
    static const Block* WriteBlock(Chunk* chunk, std::size_t at, QStringView text);
    static Chunk* ChunkOf(const Block* block) {
        return reinterpret_cast<Chunk*>(const_cast<char*>(reinterpret_cast<const char*>(block)) - block->ChunkOffset);
    }
    static void Let(Chunk* chunk);
    const QChar* Chars() const { return reinterpret_cast<const QChar*>(block_ + 1); }
    void Retain() const {
        if (block_ != nullptr)
            ++ChunkOf(block_)->Holders;
    }
    void Release() {
        if (block_ != nullptr)
            Let(ChunkOf(std::exchange(block_, nullptr)));
    }

    const Block* block_ = nullptr;
};

std::size_t qHash(const RecordText& text, std::size_t seed = 0) noexcept;
// A cheap hash from the length and three characters, for the small tables of texts kept
// lately (a recurring type or label is kept once): a collision only costs a copy.
inline std::size_t RecentTextHash(QStringView text) {
    std::size_t hash = static_cast<std::size_t>(text.size());
    if (!text.isEmpty()) {
        hash = hash * 31 + text.front().unicode();
        hash = hash * 31 + text[text.size() / 2].unicode();
        hash = hash * 31 + text.back().unicode();
    }
    return hash;
}

// Labels are put together from fields and strings.
QString operator+(const QString& a, const RecordText& b);
QString operator+(const RecordText& a, const QString& b);
QString operator+(const RecordText& a, QChar b);
QString operator+(QChar a, const RecordText& b);

// Cuts texts from chunks of a few kilobytes, one after another; a text too long to share a chunk
// gets one of its own. The pool and the texts it made stay on one thread.
class RecordTextPool {
public:
    RecordTextPool() = default;
    RecordTextPool(const RecordTextPool&) = delete;
    RecordTextPool& operator=(const RecordTextPool&) = delete;
    ~RecordTextPool();

    RecordText Make(QStringView text);

private:
    static constexpr std::size_t ChunkBytes = 4096 - 32; // with the heap's own header, a page
    static constexpr std::size_t OwnChunkOver = 1024;    // larger blocks are not cut from a chunk
    static RecordText::Chunk* NewChunk(std::size_t bytes);
    RecordText::Chunk* chunk_ = nullptr;
    std::size_t used_ = 0;
};

} // namespace zov::cgif
