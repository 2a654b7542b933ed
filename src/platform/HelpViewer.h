#pragma once
// The help viewer: opens a help file at a topic and shows its table of contents or its index.
#include <QString>

namespace zov::platform {

enum class HelpCommand : int {
    Contents = 1, // show the topic with the table of contents
    Index = 2,    // show the topic with the index
};

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // `location` is the help file, optionally followed by "::/" and a topic file inside it
    // ("…/ZOVEditHelp.xml::/intro.htm"). False when the help could not be shown; the viewer has
    // then told the user why.
    virtual bool ShowHelp(const QString& location, HelpCommand command) = 0;
};

// The two halves of a help location: the file and the topic after "::/" (empty when absent).
struct HelpLocation {
    QString file;
    QString topic;
};
HelpLocation SplitHelpLocation(const QString& location);

} // namespace zov::platform
