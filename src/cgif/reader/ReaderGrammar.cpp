// The grammar, instantiated once for this reader's text and tables.
#include "cgif/grammar/Elements.h"
#include "cgif/grammar/Graphs.h"
#include "cgif/grammar/Referents.h"
#include "cgif/grammar/Scanner.h"
#include "cgif/reader/CgifReader.h"

namespace zov::cgif {
template class grammar::Grammar<CgifReader, ReaderText>;
} // namespace zov::cgif
