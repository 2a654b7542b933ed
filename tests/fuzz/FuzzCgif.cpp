// libFuzzer target for the CGIF reader and the quick checker: the reader, with the checking
// builder, must survive any input (no crash, no hang, bounded memory), and wherever the quick
// checker answers Clean the reader must have read everything and shown nothing.
#include "quick/FullCheck.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const zov::test::FullCheck full = zov::test::RunFullCheck(bytes);
    if (zov::test::QuickClean(bytes) && !full.silentRead()) {
        std::fprintf(stderr, "quick checker said Clean; the reader %s and showed: %s\n", full.read ? "read" : "stopped",
                     full.shown.join(QStringLiteral(" | ")).toUtf8().constData());
        std::abort();
    }
    return 0;
}
