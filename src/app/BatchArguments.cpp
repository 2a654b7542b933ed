#include "app/BatchArguments.h"

#include "platform/OutputFile.h"

#include <QFile>
#include <QFileInfo>


namespace zov::app {

bool defaultOutputTaken(const QString& output, const QString& input, QString& problem) {
    if (output == QLatin1String("-") || (!QFileInfo(output).exists() && !QFileInfo(output).isSymLink()))
        return false;
    // The input already has the output's name (CGIF in a file named .pptx): -o must name another.
    if (platform::SameFile(output, input))
        problem = input + QStringLiteral(" would be written over itself; name the output with -o");
    else if (QFileInfo(output).isDir())
        problem = output + QStringLiteral(" is a folder; name the output with -o");
    else
        problem = output + QStringLiteral(" already exists, and only a file named with -o is replaced (-o ") + output +
                  QStringLiteral(" replaces it)");
    return true;
}

bool takeInputArgument(const QString& arg, QString& input, QString& problem) {
    if (arg.startsWith(u'-') && arg != QLatin1String("-")) {
        problem = QStringLiteral("unknown option ") + arg;
        return false;
    }
    if (arg.isEmpty()) {
        problem = QStringLiteral("the input file name is empty");
        return false;
    }
    if (!input.isEmpty()) {
        problem = QStringLiteral("more than one input file: ") + input + QStringLiteral(", ") + arg;
        return false;
    }
    input = arg;
    return true;
}

bool missingInput(const QString& input, const QString& example, QString& problem) {
    if (!input.isEmpty())
        return false;
    problem = QStringLiteral("no input file (%1, or - for standard input)").arg(example);
    return true;
}

std::optional<InputOutputArguments> parseInputOutputArguments(const QStringList& args, QString& problem) {
    InputOutputArguments parsed;
    bool haveOutput = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("-o")) {
            if (haveOutput) {
                problem = QStringLiteral("-o given twice");
                return std::nullopt;
            }
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                problem = QStringLiteral("-o needs a file name (or - for standard output)");
                return std::nullopt;
            }
            parsed.output = args[++i];
            haveOutput = true;
            continue;
        }
        if (!takeInputArgument(arg, parsed.input, problem))
            return std::nullopt;
    }
    if (missingInput(parsed.input, QStringLiteral("IN.pptx"), problem))
        return std::nullopt;
    return parsed;
}

QString statusName(const QString& path, bool output) {
    if (path == QLatin1String("-"))
        return output ? QStringLiteral("standard output") : QStringLiteral("standard input");
    return QFileInfo(path).fileName();
}

} // namespace zov::app
