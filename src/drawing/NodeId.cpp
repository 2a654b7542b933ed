#include "drawing/NodeId.h"

namespace zov::drawing {

double NodeIdGenerator::NextUniform() {
    // 32 random bits scaled into [0, 1): never reaches 1, so the letter never passes "Z".
    return static_cast<double>(engine_()) / 4294967296.0;
}

QString NodeIdGenerator::NewNodeId() {
    // Each letter is the integer part of NextUniform() * 26, computed in integers: for 32 random
    // bits r, r / 2^32 * 26 is exact in a double, so its integer part is (r * 26) >> 32. The id
    // is written into one string of eight characters, allocated once.
    QString id(8, Qt::Uninitialized);
    QChar* out = id.data();
    for (int i = 0; i < 8; ++i) {
        const auto letter = static_cast<char16_t>((static_cast<std::uint64_t>(engine_()) * 26) >> 32);
        out[i] = QChar(static_cast<char16_t>(u'A' + letter));
    }
    return id;
}

} // namespace zov::drawing
