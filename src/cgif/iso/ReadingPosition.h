#pragma once
// How a reader tells how far into its input it has got, for a progress bar: the characters
// before the line it reads (each line end counted as one), and, within a long line, how far
// into it the reading has got. It grows as the reading goes on and is told again only when it
// has grown.
#include <QtGlobal>
#include <functional>

namespace zov::cgif::iso {

using ReadingPosition = std::function<void(qint64 characters)>;

} // namespace zov::cgif::iso
