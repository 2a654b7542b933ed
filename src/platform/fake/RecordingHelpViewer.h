#pragma once
// A help viewer for tests: records every location and command it was asked to show.
#include "platform/HelpViewer.h"

#include <vector>

namespace zov::platform {

class RecordingHelpViewer : public HelpViewer {
public:
    struct Call {
        QString location;
        HelpCommand command;
    };
    bool ShowHelp(const QString& location, HelpCommand command) override {
        calls_.push_back(Call{location, command});
        return true;
    }
    const std::vector<Call>& calls() const { return calls_; }

private:
    std::vector<Call> calls_;
};

} // namespace zov::platform
