#pragma once
// What the program hands the add-in when it makes it: the platform services the editor reports
// and asks through, and the facts about the program it is part of. The services are borrowed
// and must outlive the add-in.
#include "addin/Version.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace zov::platform {
class CommonDialog;
class CursorPosition;
class HelpViewer;
class MessageBoxes;
class SettingsStore;
} // namespace zov::platform

namespace zov::addin {

struct AddinServices {
    platform::MessageBoxes* messages = nullptr;
    platform::SettingsStore* settings = nullptr; // the drawing settings between runs
    platform::CursorPosition* cursor = nullptr;  // where Insert and F4 act
    platform::CommonDialog* dialogs = nullptr;   // file, colour and font dialogs
    platform::HelpViewer* help = nullptr;
    // The folder the add-in is installed in (no trailing separator): its help and the folder
    // the first file dialog opens in.
    QString libraryFolder;
    ProgramVersion version;
    // Seed for the node-id sequence at each start of the editor; empty: the clock.
    std::function<std::uint32_t()> seedSource;
};

} // namespace zov::addin
