#pragma once
// Case files: tables of inputs and expected outputs kept as text under tests/cases/<area>/ and
// read by one runner per area. The format is described in docs/testing.md: the first line says
// what the file checks, "== INPUT" starts a case, the lines after it until the next "==" are the
// expected output; lines starting with "#" are comments; in inputs and expected lines "\r",
// "\n", "\t" and "\\" stand for a carriage return, a line feed, a tab and a backslash, and
// "\xNN" for the character (or, where a runner reads bytes, the byte) with that hex code.
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace zov::test {

struct Case {
    QString file;         // the case file's name, for failure reports
    int line = 0;         // the line of its "==" line
    QString input;        // escapes replaced
    QStringList expected; // escapes replaced
    std::string where() const { return (file + u':' + QString::number(line)).toStdString(); }
};

// Every case of every file ending in `suffix` in tests/cases/<area>, files by name. A file whose
// first line is not a "#" description fails the calling test.
std::vector<Case> LoadCases(const QString& area, const QString& suffix = QStringLiteral(".case"));
// The folder of an area's case files.
QString CaseDir(const QString& area);
// Replaces the escapes of case files.
QString Unescape(const QString& text);
// Lines joined with line feeds, so that a failed comparison prints readable text.
inline std::string Lines(const QStringList& lines) { return lines.join(u'\n').toStdString(); }

} // namespace zov::test
