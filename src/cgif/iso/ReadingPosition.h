#pragma once
// How a reader tells how far into its input it has got, for a progress bar: the characters of
// the lines it has taken so far, each line end counted as one. It grows as the reading goes on
// and is told again only when it has grown.
#include <QtGlobal>
#include <functional>

namespace zov::cgif::iso {

using ReadingPosition = std::function<void(qint64 characters)>;

} // namespace zov::cgif::iso
