// File names that are not UTF-8, and a user whose environment asks for another language: every
// command refuses such a name before it reads or writes anything, by either program, and the
// system's reasons for a failure come in English, as the rest of every message does.
#include "ProgramTest.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace zov::test {
namespace {

class NamesAndLanguages : public ProgramTest {
protected:
    // Runs `program` with arguments written for the shell, so that they may hold any bytes
    // ("$(printf 'caf\351.cgf')").
    ProgramRun shell(const QString& program, const QString& arguments, const QProcessEnvironment& env) const {
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" ") + arguments, program});
        ProgramRun run;
        if (!process.waitForStarted(30000) || !process.waitForFinished(120000))
            return run;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return run;
    }
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
        return env;
    }
    QString fullProgram() const { return QFileInfo(programPath()).dir().filePath(QStringLiteral("zovedit-app")); }
};

TEST_F(NamesAndLanguages, ANameThatIsNotUtf8IsRefusedByEveryCommandAndNothingIsWritten) {
    write("cat.cgf", "[Cat: *x]\n(On ?x [Mat])\n");
    ASSERT_EQ(zovedit({"import", "cat.cgf", "-o", "deck.pptx"}).exitCode, 0);
    // A Latin-1 name: "café.cgf" as an old disk or a zip archive has it.
    const QByteArray latin1 = QFile::encodeName(dir.path()) + "/caf\xe9.cgf";
    std::FILE* file = std::fopen(latin1.constData(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("[Cat: *x]\n(On ?x [Mat])\n", file);
    std::fclose(file);
    const QStringList before = files();
    const QString refusal = QStringLiteral("zovedit: Cannot use \"%1\": its name is not UTF-8 text, and ZOVEdit can open or "
                                           "write a file only by a UTF-8 name: rename the file, or choose another name\n");
    const struct {
        const char* arguments;
        const char* shown;
    } commands[] = {
        {"check \"$(printf 'caf\\351.cgf')\"", "caf\\xE9.cgf"},
        {"import \"$(printf 'caf\\351.cgf')\" -o out.pptx", "caf\\xE9.cgf"},
        {"import cat.cgf -o \"$(printf 'd\\303\\251j\\340.pptx')\"", "déj\\xE0.pptx"},
        {"export deck.pptx -o \"$(printf 'x\\377.cgf')\"", "x\\xFF.cgf"},
        {"render deck.pptx -o \"$(printf 'x\\300\\257.png')\"", "x\\xC0\\xAF.png"},
    };
    for (const QString& program : {programPath(), fullProgram()})
        for (const auto& command : commands) {
            const ProgramRun run = shell(program, QString::fromUtf8(command.arguments), environment());
            EXPECT_EQ(run.exitCode, 2) << command.arguments;
            EXPECT_EQ(QString::fromUtf8(run.err), refusal.arg(QString::fromUtf8(command.shown))) << command.arguments;
            EXPECT_EQ(files(), before) << command.arguments;
        }
    std::remove(latin1.constData()); // the folder's own removal goes by names in UTF-8
}

// The language of the system's own texts is set by the environment; a German user's failure
// reads "No such file or directory" like everyone's. Needs the German locale's sources and the C
// library's translations (the packages locales and libc-l10n), which the test's own copy of the
// locale is made from; left out where they are missing.
TEST_F(NamesAndLanguages, TheSystemsReasonsAreInEnglishInAnyLanguage) {
    const QString locales = path(QStringLiteral("locales"));
    ASSERT_TRUE(QDir().mkpath(locales));
    QProcess localedef;
    localedef.start(QStringLiteral("localedef"),
                    {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"), QStringLiteral("UTF-8"),
                     locales + QStringLiteral("/de_DE.UTF-8")});
    if (!localedef.waitForFinished(60000) || localedef.exitStatus() != QProcess::NormalExit || localedef.exitCode() != 0)
        GTEST_SKIP() << "the German locale cannot be made here";
    // The same locale in this process: only where the C library does speak German is the test
    // able to fail.
    ::setenv("LOCPATH", QFile::encodeName(locales).constData(), 1);
    const locale_t german = ::newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr);
    ::unsetenv("LOCPATH");
    const bool speaksGerman = german != nullptr && std::strcmp(::strerror_l(ENOENT, german), "No such file or directory") != 0;
    if (german != nullptr)
        ::freelocale(german);
    if (!speaksGerman)
        GTEST_SKIP() << "the C library has no German texts here";

    write("cat.cgf", "[Cat: *x]\n(On ?x [Mat])\n");
    QProcessEnvironment env = environment();
    env.insert("LOCPATH", locales);
    env.insert("LC_ALL", "de_DE.UTF-8");
    env.insert("LANGUAGE", "de");
    const ProgramRun save = zovedit({"import", "cat.cgf", "-o", "no/folder/x.pptx"}, {}, env);
    EXPECT_EQ(save.exitCode, 2);
    EXPECT_TRUE(save.err.endsWith("/no/folder/x.pptx\": No such file or directory\n")) << save.err.constData();
    const ProgramRun open = zovedit({"import", "missing.cgf", "-o", "x.pptx"}, {}, env);
    EXPECT_EQ(open.exitCode, 2);
    EXPECT_TRUE(open.err.endsWith("missing.cgf\": No such file or directory\n")) << open.err.constData();
}

} // namespace
} // namespace zov::test
