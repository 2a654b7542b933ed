#pragma once
// `zovedit [FILE.pptx]`: the desktop editor. Makes the host application, its main window and
// the platform services, connects the registered add-ins, opens FILE when given, and runs the
// event loop until the window closes.
namespace zov::app {

// `file`: the presentation to open, or nullptr.
int runDesktop(char* program, const char* file);

} // namespace zov::app
