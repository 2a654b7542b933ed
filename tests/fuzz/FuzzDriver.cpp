// A driver for the fuzz targets that builds with any compiler, so that every test run fuzzes for
// a bounded time: `fuzz_run_X SECONDS SEED_FOLDER...` runs each seed file once, then random
// mutations of them (bit flips, byte changes, cut, repeated and spliced pieces) until the time is
// up. A crash, an abort or an input taking longer than PerInputSeconds leaves the input in
// fuzz-failure-<pid>.bin in the working folder and ends the run with a signal, failing the test.
// The libFuzzer build (clang, ZOV_BUILD_FUZZ) links the same targets without this driver.
#include <QByteArray>
#include <QGuiApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

constexpr unsigned PerInputSeconds = 20;
constexpr qsizetype MaxSeedBytes = 256 * 1024;
constexpr qsizetype MaxInputBytes = 512 * 1024;

QByteArray current; // the input under test, written out by the signal handler

extern "C" void dumpAndDie(int signal) {
    char name[64];
    std::snprintf(name, sizeof name, "fuzz-failure-%d.bin", static_cast<int>(::getpid()));
    const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        qsizetype done = 0;
        while (done < current.size()) {
            const ssize_t n = ::write(fd, current.constData() + done, static_cast<std::size_t>(current.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        ::close(fd);
    }
    static const char note[] = "fuzz: the failing input is in fuzz-failure-<pid>.bin\n";
    (void)!::write(2, note, sizeof note - 1);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void run(const QByteArray& input) {
    current = input;
    ::alarm(PerInputSeconds);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(current.constData()), static_cast<std::size_t>(current.size()));
    ::alarm(0);
}

QByteArray mutate(QByteArray input, const std::vector<QByteArray>& seeds, std::mt19937_64& random) {
    const auto below = [&random](qsizetype n) { return n <= 0 ? qsizetype(0) : static_cast<qsizetype>(random() % static_cast<std::uint64_t>(n)); };
    static const char* const tokens[] = {"<", ">", "/>", "\"", "'", "&amp;", "&#", "xmlns:", "=", "[", "]", "(", ")", "*", "?",
                                         ":", ";", "%", "@", ".", ",", "<p:sp>", "</p:sp>", "\n", "\r", "\0", "\xff", "\xc3\xa9"};
    const int rounds = 1 + static_cast<int>(random() % 4);
    for (int r = 0; r < rounds; ++r) {
        switch (random() % 7) {
        case 0: // flip a bit
            if (!input.isEmpty())
                input[below(input.size())] ^= static_cast<char>(1 << (random() % 8));
            break;
        case 1: // any byte
            if (!input.isEmpty())
                input[below(input.size())] = static_cast<char>(random());
            break;
        case 2: // cut a piece
            if (!input.isEmpty()) {
                const qsizetype at = below(input.size());
                input.remove(at, 1 + below(std::min<qsizetype>(64, input.size() - at)));
            }
            break;
        case 3: { // repeat a piece
            if (input.isEmpty())
                break;
            const qsizetype at = below(input.size());
            const QByteArray piece = input.mid(at, 1 + below(32));
            input.insert(below(input.size() + 1), piece.repeated(1 + static_cast<int>(random() % 8)));
            break;
        }
        case 4: { // a piece of another seed
            const QByteArray& other = seeds[static_cast<std::size_t>(random() % seeds.size())];
            if (!other.isEmpty()) {
                const qsizetype at = below(other.size());
                input.insert(below(input.size() + 1), other.mid(at, 1 + below(256)));
            }
            break;
        }
        case 5: { // a token of the formats read
            const char* token = tokens[random() % (sizeof tokens / sizeof *tokens)];
            input.insert(below(input.size() + 1), QByteArray(token, std::max<qsizetype>(1, qsizetype(std::strlen(token)))));
            break;
        }
        default: // cut the end
            input.truncate(below(input.size() + 1));
            break;
        }
    }
    return input.left(MaxInputBytes);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SECONDS SEED_FOLDER...\n", argv[0]);
        return 2;
    }
    const double seconds = std::atof(argv[1]);
    std::vector<QByteArray> seeds;
    for (int i = 2; i < argc; ++i) {
        QDirIterator it(QString::fromLocal8Bit(argv[i]), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.size() <= MaxSeedBytes && file.open(QIODevice::ReadOnly))
                seeds.push_back(file.readAll());
        }
    }
    if (seeds.empty())
        seeds.push_back(QByteArray());
    for (int s : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGALRM})
        std::signal(s, dumpAndDie);

    for (const QByteArray& seed : seeds)
        run(seed);
    const std::uint64_t start = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937_64 random(start);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    long executions = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        run(mutate(seeds[static_cast<std::size_t>(random() % seeds.size())], seeds, random));
        ++executions;
    }
    std::printf("fuzz: %zu seeds, %ld mutated inputs, random seed %llu\n", seeds.size(), executions,
                static_cast<unsigned long long>(start));
    return 0;
}
