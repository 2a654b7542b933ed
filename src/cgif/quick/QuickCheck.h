#pragma once
// A fast answer to one question about a CGIF file: would `zovedit check` read the whole of it
// and show nothing but "File read"? The quick checker walks the bytes through the reader's own
// grammar routines (cgif/grammar: one template, instantiated for both) and through tables and
// lookups that follow the reader's and the checking builder's, with node ids as serial numbers
// and names as pieces of the input instead of strings on the heap. It needs neither Qt nor the
// rest of the program, so the command line can answer before loading them.
//
// It answers Clean only when it is sure; wherever the reader would show a message, and wherever
// the input leaves the well-trodden forms (multi-line comments and strings, odd encodings, very
// deep nesting, very long lookups), it answers Unsure and the full reader must read the file.
// Node ids are taken to be distinct: the reader draws them at random from 26^8 values, so two
// equal ids in one graph are possible but vanishingly rare.
#include <cstddef>
#include <string>

namespace zov::cgif::quick {

enum class Verdict {
    Clean,  // the reader reads every graph and shows no message
    Unsure, // the full reader must decide
};

// `bytes` is the file's content as read from disk; it is used as scratch space (the reader puts
// comments back into its line in place, and so does this).
Verdict QuickCheckCgif(char* bytes, std::size_t size);
inline Verdict QuickCheckCgif(std::string& bytes) { return QuickCheckCgif(bytes.data(), bytes.size()); }

} // namespace zov::cgif::quick
