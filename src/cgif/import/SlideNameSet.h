#pragma once
// The slide names a checking run has taken. A file of small graphs takes one per graph, so the
// set is the readers' flat name lists over a pool of text: taking a name allocates nothing of
// its own. A name taken is one whose list holds the index 0; a removed one keeps its entry, empty.
#include "cgif/grammar/NameLists.h"
#include "cgif/reader/PooledNames.h"

#include <QStringView>
#include <cstddef>

namespace zov::cgif {

class SlideNameSet {
public:
    bool Contains(QStringView name) const { return names_.LastAtOrBefore(name, 0) == 0; }
    // False when the name is taken already.
    bool Insert(QStringView name) {
        if (!names_.Add(name, 0))
            return false;
        ++size_;
        return true;
    }
    void Remove(QStringView name) {
        if (names_.Remove(name, 0))
            --size_;
    }
    std::size_t Size() const { return size_; }

private:
    grammar::NameLists<PooledNames> names_;
    std::size_t size_ = 0;
};

} // namespace zov::cgif
