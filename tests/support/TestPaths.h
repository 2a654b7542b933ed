#pragma once
// Where the tests find the shared corpus, the schemas and the built program.
#include <QString>

namespace zov::test {

inline QString pptxCorpusDir() { return QStringLiteral(ZOV_PPTX_CORPUS); }
inline QString cgifCorpusDir() { return QStringLiteral(ZOV_CGIF_CORPUS); }
inline QString ooxmlDir() { return QStringLiteral(ZOV_OOXML_DIR); }
inline QString sourceDir() { return QStringLiteral(ZOV_SOURCE_DIR); }
inline QString programPath() { return QStringLiteral(ZOV_BINARY); }

} // namespace zov::test
