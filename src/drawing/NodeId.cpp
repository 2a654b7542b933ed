#include "drawing/NodeId.h"

namespace zov::drawing {

double NodeIdGenerator::NextUniform() {
    // 32 random bits scaled into [0, 1): never reaches 1, so the letter never passes "Z".
    return static_cast<double>(engine_()) / 4294967296.0;
}

QString NodeIdGenerator::NewNodeId() {
    QString id;
    id.reserve(8);
    for (int i = 0; i < 8; ++i)
        id.append(QChar(u'A' + static_cast<int>(NextUniform() * 26)));
    return id;
}

} // namespace zov::drawing
