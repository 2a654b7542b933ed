#pragma once
// The program's version numbers, as the About box shows them.
#include <QString>

namespace zov::addin {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// Reads "major.minor.revision" (missing or unreadable parts are 0).
ProgramVersion ParseVersion(const QString& text);
// This build's version.
ProgramVersion CurrentVersion();
// "ZOVEdit version " + major + "." + minor + " (" + revision + ")", numbers in decimal.
QString AboutText(const ProgramVersion& version);

} // namespace zov::addin
