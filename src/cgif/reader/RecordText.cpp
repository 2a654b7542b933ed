#include "cgif/reader/RecordText.h"

#include <QHashFunctions>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <new>

namespace zov::cgif {

RecordText::RecordText(QStringView text) {
    if (text.isEmpty())
        return;
    if (text.size() > INT32_MAX) // a block counts its text in 32 bits
        throw std::bad_alloc();
    const std::size_t bytes = sizeof(Chunk) + BlockBytes(text.size());
    void* memory = std::malloc(bytes);
    if (memory == nullptr)
        throw std::bad_alloc();
    Chunk* chunk = new (memory) Chunk{};
    chunk->Holders = 1;
    block_ = WriteBlock(chunk, sizeof(Chunk), text);
}

RecordText& RecordText::operator=(const RecordText& other) noexcept {
    if (block_ != other.block_) {
        other.Retain();
        Release();
        block_ = other.block_;
    }
    return *this;
}

RecordText& RecordText::operator=(RecordText&& other) noexcept {
    if (this != &other) {
        Release();
        block_ = std::exchange(other.block_, nullptr);
    }
    return *this;
}

const RecordText::Block* RecordText::WriteBlock(Chunk* chunk, std::size_t at, QStringView text) {
    char* place = reinterpret_cast<char*>(chunk) + at;
    Block* block = new (place) Block{static_cast<std::uint32_t>(at), static_cast<std::int32_t>(text.size())};
    std::copy(text.utf16(), text.utf16() + text.size(), reinterpret_cast<char16_t*>(block + 1));
    return block;
}

// The last holder frees the chunk.
void RecordText::Let(Chunk* chunk) {
    if (--chunk->Holders == 0) {
        chunk->~Chunk();
        std::free(chunk);
    }
}

std::size_t qHash(const RecordText& text, std::size_t seed) noexcept { return qHash(text.View(), seed); }

namespace {
QString Joined(QStringView a, QStringView b) {
    QString joined;
    joined.reserve(a.size() + b.size());
    joined.append(a);
    joined.append(b);
    return joined;
}
} // namespace

QString operator+(const QString& a, const RecordText& b) { return Joined(a, b.View()); }
QString operator+(const RecordText& a, const QString& b) { return Joined(a.View(), b); }
QString operator+(const RecordText& a, QChar b) { return Joined(a.View(), QStringView(&b, 1)); }
QString operator+(QChar a, const RecordText& b) { return Joined(QStringView(&a, 1), b.View()); }

RecordTextPool::~RecordTextPool() {
    if (chunk_ != nullptr)
        RecordText::Let(chunk_);
}

RecordText RecordTextPool::Make(QStringView text) {
    if (text.isEmpty())
        return {};
    const std::size_t bytes = RecordText::BlockBytes(text.size());
    if (bytes > OwnChunkOver)
        return RecordText(text);
    if (chunk_ == nullptr || used_ + bytes > ChunkBytes) {
        RecordText::Chunk* fresh = NewChunk(ChunkBytes);
        if (chunk_ != nullptr)
            RecordText::Let(chunk_);
        chunk_ = fresh;
        used_ = sizeof(RecordText::Chunk);
    }
    RecordText made;
    made.block_ = RecordText::WriteBlock(chunk_, used_, text);
    ++chunk_->Holders;
    used_ += bytes;
    return made;
}

// A chunk the pool holds once.
RecordText::Chunk* RecordTextPool::NewChunk(std::size_t bytes) {
    void* memory = std::malloc(bytes);
    if (memory == nullptr)
        throw std::bad_alloc();
    auto* chunk = new (memory) RecordText::Chunk{};
    chunk->Holders = 1;
    return chunk;
}

} // namespace zov::cgif
