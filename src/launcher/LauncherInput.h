#pragma once
// What the launcher needs from the system: reading the input of a check, handing standard input
// on to the full program, and starting that program in its place.
#include "memory/LargeMemory.h"

#include <cstddef>
#include <string>

namespace zov::launcher {

// The bytes of a check's input, read into writable memory (the checker writes into it), stopping
// one byte past the reader's size limit. !Ok() when it cannot be opened or read, or is not a
// regular file (a pipe read here would be empty for the full program); the full program then
// reads it or says why. What was read from standard input stays either way.
class CheckInput {
public:
    explicit CheckInput(const char* path); // nullptr: standard input

    bool Ok() const { return ok_; }
    char* Data() { return bytes_.Data(); }
    std::size_t Size() const { return bytes_.Size(); }

private:
    bool ok_ = false;
    memory::LargeBuffer bytes_;
};

// Makes `bytes` the standard input of the program started next (ReadInput stops one byte past
// the limit, so a file too large is still refused there). False after printing why it could not.
bool HandOnStandardInput(const char* bytes, std::size_t size);

// Replaces this process with zovedit-app from this program's folder, with the same arguments.
// Returns only when that fails, with the exit status after printing why.
int RunFullProgram(char** argv);

} // namespace zov::launcher
