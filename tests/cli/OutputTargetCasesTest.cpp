// The table tests/cases/cli/output-targets.txt: each command writing to each kind of output
// target, with and without a file-size limit, and what became of the target.
#include "ProgramTest.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <atomic>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

namespace zov::test {
namespace {

const QByteArray Previous = "previous\n";

struct TargetCase {
    QString name, kind, file, limit, args, stderrPart;
    int exitCode = 0;
};

std::vector<TargetCase> readCases() {
    QFile table(QStringLiteral(ZOV_SOURCE_DIR "/tests/cases/cli/output-targets.txt"));
    EXPECT_TRUE(table.open(QIODevice::ReadOnly));
    std::vector<TargetCase> cases;
    for (const QByteArray& raw : table.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u'|');
        EXPECT_EQ(f.size(), 6) << line.toStdString();
        if (f.size() != 6)
            continue;
        const QStringList target = f[1].trimmed().split(u':');
        cases.push_back({f[0].trimmed(), target.value(0), target.value(1), f[2].trimmed(), f[3].trimmed(),
                         f[5].trimmed(), f[4].trimmed().toInt()});
    }
    return cases;
}

mode_t modeOf(const QString& path, bool follow = true) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    return (follow ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st)) == 0 ? st.st_mode : 0;
}

// Takes whatever is written into a FIFO until told the writer is done.
class FifoReader {
public:
    explicit FifoReader(const QString& path) : fd_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK)) {
        thread_ = std::thread([this] {
            char buffer[65536];
            for (;;) {
                const bool last = done_;
                ssize_t n;
                while ((n = ::read(fd_, buffer, sizeof buffer)) > 0)
                    bytes_.append(buffer, n);
                if (last)
                    return;
                ::usleep(2000);
            }
        });
    }
    QByteArray finish() {
        done_ = true;
        thread_.join();
        ::close(fd_);
        return bytes_;
    }

private:
    int fd_;
    std::atomic<bool> done_{false};
    QByteArray bytes_;
    std::thread thread_;
};

class OutputTargetCases : public ProgramTest {
protected:
    ProgramRun run(const QStringList& args, rlim_t fileSizeLimit) {
        if (fileSizeLimit == 0)
            return zovedit(args);
        return zovedit(args, {}, std::nullopt, [fileSizeLimit] {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
};

TEST_F(OutputTargetCases, EachTargetIsWrittenOrKeptAsItWas) {
    write("cat.cgf", "[Cat: *x] (On ?x [Mat])\n");
    ASSERT_EQ(zovedit({"import", "cat.cgf", "-o", "deck.pptx"}).exitCode, 0);
    host::Application app;
    write("nograph.pptx", host::presentationBytes(app.Presentations().Add()));
    write("bad.cgf", "(On)\n");

    // A folder of ordinary files under /dev: a name's place says nothing of what it names.
    QTemporaryDir shm(QStringLiteral("/dev/shm/zovedit-test-XXXXXX"));
    for (TargetCase c : readCases()) {
        SCOPED_TRACE(c.name.toStdString());
        if (c.file.contains(QLatin1String("{shm}"))) {
            if (!shm.isValid())
                continue; // no such folder here
            c.file.replace(QLatin1String("{shm}"), shm.path());
        }
        if (c.kind == u"stdout") {
            // A name for an open file: the bytes go through it to the standard output.
            const ProgramRun result = run(QString(c.args).replace("{deck}", "deck.pptx").replace("{cgif}", "cat.cgf")
                                              .replace("{out}", "/dev/stdout").split(u' '), 0);
            EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
            EXPECT_TRUE(result.err.contains(c.stderrPart.toUtf8())) << result.err.toStdString();
            EXPECT_FALSE(result.out.isEmpty());
            continue;
        }
        const QString out = path(c.file), real = path(QStringLiteral("real-") + c.file);
        const QString written = c.kind == u"link" ? QStringLiteral("real-") + c.file : c.file;
        QFile::remove(out);
        QFile::remove(real);
        const bool holdsPrevious = c.kind == u"regular" || c.kind == u"readonly" || c.kind == u"link";
        const mode_t previousMode = c.kind == u"readonly" ? 0444 : 0640;
        if (holdsPrevious) {
            write(written, Previous);
            ::chmod(QFile::encodeName(path(written)).constData(), previousMode);
            if (c.kind == u"link") {
                ASSERT_TRUE(QFile::link(real, out));
            }
        } else if (c.kind == u"fifo") {
            ASSERT_EQ(::mkfifo(QFile::encodeName(out).constData(), 0600), 0);
        } else if (c.kind == u"null" || c.kind == u"full") {
            // Only the superuser may make device nodes; elsewhere these cases are left out.
            if (::mknod(QFile::encodeName(out).constData(), S_IFCHR | 0666, makedev(1, c.kind == u"null" ? 3 : 7)) != 0)
                continue;
        }
        std::optional<FifoReader> reader;
        if (c.kind == u"fifo")
            reader.emplace(out);
        QString args = c.args;
        args.replace("{cgif}", "cat.cgf").replace("{bad}", "bad.cgf").replace("{deck}", "deck.pptx").replace("{nograph}", "nograph.pptx");
        args.replace("{out}", c.file);
        const rlim_t limit = c.limit.startsWith("fsize=") ? c.limit.mid(6).toULongLong() : 0;
        const ProgramRun result = run(args.split(u' ', Qt::SkipEmptyParts), limit);
        const QByteArray piped = reader ? reader->finish() : QByteArray();

        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(c.stderrPart.toUtf8())) << result.err.toStdString();
        // Every message is one "TITLE: TEXT" line; no library prints its own.
        EXPECT_FALSE(result.err.contains("libpng")) << result.err.toStdString();
        const bool ok = c.exitCode == 0;
        if (holdsPrevious) {
            EXPECT_EQ(readFile(written) == Previous, !ok);
            EXPECT_EQ(modeOf(path(written)) & 0777, previousMode);
            if (c.kind == u"link") {
                EXPECT_TRUE(S_ISLNK(modeOf(out, false)));
            }
        } else if (c.kind == u"fifo") {
            EXPECT_TRUE(S_ISFIFO(modeOf(out, false)));
            EXPECT_EQ(!piped.isEmpty(), ok);
        } else if (c.kind == u"null" || c.kind == u"full") {
            EXPECT_TRUE(S_ISCHR(modeOf(out, false)));
        } else {
            EXPECT_EQ(QFile::exists(out), ok);
        }
        // No temporary file is left behind.
        for (const QString& folder : {dir.path(), shm.path()})
            EXPECT_TRUE(QDir(folder).entryList(QDir::Hidden | QDir::Files).filter(QRegularExpression("^\\..*~")).isEmpty());
    }
}

} // namespace
} // namespace zov::test
