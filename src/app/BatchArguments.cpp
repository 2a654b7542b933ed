#include "app/BatchArguments.h"

namespace zov::app {

std::optional<InputOutputArguments> parseInputOutputArguments(const QStringList& args, QString& problem) {
    InputOutputArguments parsed;
    bool haveInput = false;
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
        if (arg.startsWith(u'-') && arg != QLatin1String("-")) {
            problem = QStringLiteral("unknown option ") + arg;
            return std::nullopt;
        }
        if (arg.isEmpty()) {
            problem = QStringLiteral("the input file name is empty");
            return std::nullopt;
        }
        if (haveInput) {
            problem = QStringLiteral("more than one input file: ") + parsed.input + QStringLiteral(", ") + arg;
            return std::nullopt;
        }
        parsed.input = arg;
        haveInput = true;
    }
    if (!haveInput) {
        problem = QStringLiteral("no input file (IN.pptx, or - for standard input)");
        return std::nullopt;
    }
    return parsed;
}

} // namespace zov::app
