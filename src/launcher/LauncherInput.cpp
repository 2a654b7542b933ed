#include "launcher/LauncherInput.h"

#include <cerrno>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zov::launcher {

namespace {
// One byte more than the reader accepts.
constexpr std::size_t ReadLimit = std::size_t(256) * 1024 * 1024 + 1;

bool ReadAll(int fd, std::size_t sizeHint, memory::LargeBuffer& bytes) {
    constexpr std::size_t Piece = 64 * 1024;
    // A regular file's size is known: one block with a piece to spare holds it without growing.
    if (!bytes.Reserve(std::min(sizeHint + Piece, ReadLimit)))
        return false;
    while (bytes.Size() < ReadLimit) {
        const std::size_t room = std::min(Piece, ReadLimit - bytes.Size());
        if (!bytes.Reserve(room))
            return false;
        const ssize_t got = read(fd, bytes.Data() + bytes.Size(), room);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        bytes.Grow(static_cast<std::size_t>(got));
    }
    return true;
}

bool WriteAll(int fd, const char* bytes, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = write(fd, bytes + done, size - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}
} // namespace

CheckInput::CheckInput(const char* path) {
    if (path == nullptr) {
        ok_ = ReadAll(STDIN_FILENO, 0, bytes_);
        return;
    }
    // Only a regular file can be read again by the full program: a pipe or a device named on
    // the command line is left to it unread, and unopened (opening a FIFO waits for its writer,
    // and closing it again would lose what the writer sends).
    struct stat info {};
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode))
        return;
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        ok_ = ReadAll(fd, static_cast<std::size_t>(info.st_size), bytes_);
    close(fd);
}

bool HandOnStandardInput(const char* bytes, std::size_t size) {
    const int fd = memfd_create("zovedit-standard-input", 0);
    if (fd < 0 || !WriteAll(fd, bytes, size) || lseek(fd, 0, SEEK_SET) != 0 || dup2(fd, STDIN_FILENO) < 0) {
        std::fprintf(stderr, "Error: Cannot pass standard input on: %s\n", std::strerror(errno));
        return false;
    }
    close(fd);
    return true;
}

int RunFullProgram(char** argv) {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string program = "zovedit-app";
    if (length > 0) {
        const std::string path(self, static_cast<std::size_t>(length));
        program = path.substr(0, path.rfind('/') + 1) + program;
    }
    execv(program.c_str(), argv);
    std::fprintf(stderr, "Error: Cannot start \"%s\": %s\n", program.c_str(), std::strerror(errno));
    return 2;
}

} // namespace zov::launcher
