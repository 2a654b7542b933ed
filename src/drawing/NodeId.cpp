#include "drawing/NodeId.h"

#include <QHashFunctions>

namespace zov::drawing {

namespace {
constexpr int IdLetters = 8;
constexpr int BitsPerLetter = 5;
} // namespace

std::uint64_t NodeId::Pack(QStringView text) {
    if (text.size() != IdLetters)
        return 0;
    std::uint64_t key = 0;
    for (const QChar c : text) {
        const char16_t letter = c.unicode();
        if (letter < u'A' || letter > u'Z')
            return 0;
        key = (key << BitsPerLetter) | static_cast<std::uint64_t>(letter - u'A');
    }
    return key + 1;
}

NodeId::NodeId(QStringView text) {
    if (const std::uint64_t letters = Pack(text); letters != 0)
        bits_ = static_cast<std::uintptr_t>(letters << 1) | PackedTag;
    else if (!text.isEmpty())
        bits_ = reinterpret_cast<std::uintptr_t>(new QString(text.toString()));
}

void NodeId::CopyText() {
    const QString* shared = OwnText();
    bits_ = 0; // no text of its own until the copy is made (new may throw)
    bits_ = reinterpret_cast<std::uintptr_t>(new QString(*shared));
}

void NodeId::AssignText(const NodeId& other) {
    if (this != &other) {
        NodeId copy(other);
        *this = std::move(copy);
    }
}

NodeId& NodeId::operator=(NodeId&& other) noexcept {
    if (this != &other) {
        Release();
        bits_ = std::exchange(other.bits_, 0);
    }
    return *this;
}

void NodeId::ReleaseText() { delete OwnText(); }

const QString& NodeId::Text() const {
    static const QString none;
    const QString* text = OwnText();
    return text != nullptr ? *text : none;
}

void NodeId::AppendTo(QString& out) const {
    if (!Packed()) {
        out += Text();
        return;
    }
    const qsizetype at = out.size();
    out.resize(at + IdLetters);
    QChar* write = out.data() + at;
    std::uint64_t key = Letters() - 1;
    for (int i = IdLetters - 1; i >= 0; --i) {
        write[i] = QChar(static_cast<char16_t>(u'A' + (key & 31u)));
        key >>= BitsPerLetter;
    }
}

QString NodeId::ToString() const {
    if (!Packed())
        return Text();
    QString text;
    text.reserve(IdLetters);
    AppendTo(text);
    return text;
}

bool NodeId::operator==(QStringView text) const {
    if (!Packed())
        return Text() == text;
    return Pack(text) == Letters();
}

std::size_t qHash(const NodeId& id, std::size_t seed) noexcept {
    return id.Letters() != 0 ? ::qHash(static_cast<quint64>(id.Letters()), seed) : ::qHash(id.Text(), seed);
}

double NodeIdGenerator::NextUniform() {
    // 32 random bits scaled into [0, 1): never reaches 1, so the letter never passes "Z".
    return static_cast<double>(engine_()) / 4294967296.0;
}

NodeId NodeIdGenerator::NewId() {
    // Each letter is the integer part of NextUniform() * 26, computed in integers: for 32 random
    // bits r, r / 2^32 * 26 is exact in a double, so its integer part is (r * 26) >> 32.
    std::uint32_t numbers[IdLetters];
    engine_.Next8(numbers);
    std::uint64_t key = 0;
    for (const std::uint32_t number : numbers) {
        const auto letter = (static_cast<std::uint64_t>(number) * 26) >> 32;
        key = (key << BitsPerLetter) | letter;
    }
    return NodeId::FromLetters(key + 1);
}

} // namespace zov::drawing
