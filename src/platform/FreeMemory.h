#pragma once
// Giving freed memory back to the system. The C library keeps memory a program has freed for its
// next allocations, and a large document read or written on other threads leaves most of it in
// heaps it does not shrink by itself: after a presentation of a gigabyte is closed, the program
// would go on holding that gigabyte. Called where a large amount has just been let go.
namespace zov::platform {

void ReturnFreedMemory();

} // namespace zov::platform
