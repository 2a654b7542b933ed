#pragma once
// Names as the records keep them, for the name lists (grammar::NameLists) of the reader's lookup
// index: an entry shares its record's text, so that indexing a long line of named nodes keeps no
// second copy of their names. The text stays while the lists know it, even when the record's
// name has changed or the record has gone.
#include "cgif/reader/RecordText.h"

#include <QStringView>
#include <cstdint>

namespace zov::cgif {

struct RecordNames {
    using Key = QStringView;
    using Kept = RecordText;
    std::uint32_t Hash(QStringView name) const { return TextHash(name); }
    bool Same(const RecordText& kept, QStringView name) const { return SameText(kept.View(), name); }
    RecordText Keep(const RecordText& name) const { return name; }
    void Clear() {}
};

} // namespace zov::cgif
