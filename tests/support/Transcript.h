#pragma once
// Plays a transcript case: each "> STEP" line among the expected lines is handed to a fresh
// script, in order, and everything the script reports is gathered under that line (an escaping
// exception as "exception TEXT"). The caller compares the result with the expected lines.
#include "support/CaseFiles.h"

#include <QStringList>
#include <exception>

namespace zov::test {

template <typename Script>
QStringList PlayTranscript(const Case& c) {
    Script script; // a fresh one for every case
    QStringList trace;
    for (const QString& line : c.expected) {
        if (!line.startsWith(QStringLiteral("> ")))
            continue;
        trace << line;
        try {
            script.Step(line.mid(2), trace);
        } catch (const std::exception& e) {
            trace << QStringLiteral("exception ") + QString::fromUtf8(e.what());
        }
    }
    return trace;
}

} // namespace zov::test
