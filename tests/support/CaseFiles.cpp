#include "support/CaseFiles.h"

#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zov::test {

QString CaseDir(const QString& area) { return sourceDir() + QStringLiteral("/tests/cases/") + area; }

QString Unescape(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        bool hex = false;
        const int code = next == u'x' ? text.mid(i + 1, 2).toInt(&hex, 16) : 0;
        if (hex && text.mid(i + 1, 2).size() == 2) {
            out += QChar(code);
            i += 2;
            continue;
        }
        const int unit = next == u'u' ? text.mid(i + 1, 4).toInt(&hex, 16) : 0;
        if (hex && text.mid(i + 1, 4).size() == 4) {
            out += QChar(static_cast<char16_t>(unit));
            i += 4;
            continue;
        }
        out += next == u'r' ? QChar(u'\r') : next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next;
    }
    return out;
}

std::vector<Case> LoadCases(const QString& area, const QString& suffix) {
    std::vector<Case> cases;
    const QDir dir(CaseDir(area));
    const QStringList files = dir.entryList({u'*' + suffix}, QDir::Files, QDir::Name);
    EXPECT_FALSE(files.isEmpty()) << "no case files in " << dir.path().toStdString();
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        EXPECT_TRUE(!lines.isEmpty() && lines.front().startsWith(QStringLiteral("# ")))
            << name.toStdString() << ": the first line says what the file checks";
        for (int i = 0; i < lines.size(); ++i) {
            const QString& line = lines[i];
            if (line.startsWith(QStringLiteral("=="))) {
                cases.push_back(Case{name, i + 1, Unescape(line.mid(line.startsWith(QStringLiteral("== ")) ? 3 : 2)), {}});
            } else if (!line.isEmpty() && !line.startsWith(u'#')) {
                EXPECT_FALSE(cases.empty() || cases.back().file != name) << name.toStdString() << ':' << i + 1
                                                                         << ": an expected line before any case";
                if (!cases.empty() && cases.back().file == name)
                    cases.back().expected << Unescape(line);
            }
        }
    }
    return cases;
}

} // namespace zov::test
