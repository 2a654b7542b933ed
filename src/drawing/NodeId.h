#pragma once
// Node ids: eight letters A to Z, each drawn independently and uniformly from one random
// sequence. The sequence belongs to the editor session and is seeded when the editor starts;
// tests seed it to get repeatable ids. Ids are not checked for uniqueness.
#include "drawing/Mt19937.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <utility>

namespace zov::drawing {

// A node id as the reader's tables keep it, in one word. The eight letters of a drawn id are
// packed into it, so that making, copying, comparing and hashing one costs no allocation; any
// other text (a shape the user named by hand, an id from elsewhere) is kept in a string of its
// own that the word points to. A text of eight letters A to Z is always packed, so two ids are
// equal exactly when their texts are.
class NodeId {
public:
    NodeId() = default;
    explicit NodeId(QStringView text);
    explicit NodeId(const QString& text) : NodeId(QStringView(text)) {}
    // Copying a packed id copies one word, inline; only an id with a text of its own copies it.
    NodeId(const NodeId& other) : bits_(other.bits_) {
        if (OwnText() != nullptr)
            CopyText();
    }
    NodeId(NodeId&& other) noexcept : bits_(std::exchange(other.bits_, 0)) {}
    NodeId& operator=(const NodeId& other) {
        if (OwnText() == nullptr && other.OwnText() == nullptr)
            bits_ = other.bits_;
        else
            AssignText(other);
        return *this;
    }
    NodeId& operator=(NodeId&& other) noexcept;
    ~NodeId() { Release(); }

    bool IsEmpty() const { return bits_ == 0; }
    QString ToString() const;
    // Appends the id's text to `out`.
    void AppendTo(QString& out) const;
    // 1 + the letters packed five bits each (the first letter highest) for a packed id, else 0.
    std::uint64_t Letters() const { return (bits_ & PackedTag) != 0 ? bits_ >> 1 : 0; }
    // The text of an id that is not packed (empty for a packed one).
    const QString& Text() const;

    friend bool operator==(const NodeId& a, const NodeId& b) {
        return a.bits_ == b.bits_ || (!a.Packed() && !b.Packed() && a.Text() == b.Text());
    }
    friend bool operator!=(const NodeId& a, const NodeId& b) { return !(a == b); }
    bool operator==(QStringView text) const;

    // The packed form of eight letters A to Z, 0 for any other text.
    static std::uint64_t Pack(QStringView text);

private:
    friend class NodeIdGenerator;
    static constexpr std::uintptr_t PackedTag = 1; // a string's address is even
    static NodeId FromLetters(std::uint64_t letters) {
        NodeId id;
        id.bits_ = static_cast<std::uintptr_t>(letters << 1) | PackedTag;
        return id;
    }
    bool Packed() const { return (bits_ & PackedTag) != 0; }
    const QString* OwnText() const {
        return bits_ != 0 && !Packed() ? reinterpret_cast<const QString*>(bits_) : nullptr;
    }
    // Frees the id's own text; a packed id has none, so the usual path is one test inline.
    void Release() {
        if (OwnText() != nullptr)
            ReleaseText();
        bits_ = 0;
    }
    void ReleaseText();
    // bits_ points at another id's text: makes it a copy of the id's own.
    void CopyText();
    void AssignText(const NodeId& other);

    // 0: empty; odd: (1 + the packed letters) << 1 | 1; else the address of the id's own text.
    std::uintptr_t bits_ = 0;
};
static_assert(sizeof(std::uintptr_t) == 8, "a packed id needs 41 bits");

std::size_t qHash(const NodeId& id, std::size_t seed = 0) noexcept;

class NodeIdGenerator {
public:
    explicit NodeIdGenerator(std::uint32_t seed = 1) : engine_(seed) {}
    void Seed(std::uint32_t seed) { engine_.Seed(seed); }
    // A uniform number in [0, 1), the sequence's next value.
    double NextUniform();
    // A fresh id: for each of eight letters, "A" plus the integer part of NextUniform() * 26.
    NodeId NewId();
    // The same as text.
    QString NewNodeId() { return NewId().ToString(); }

private:
    Mt19937 engine_;
};

} // namespace zov::drawing
