#pragma once
// `zovedit [FILE.pptx]`: the desktop editor. Makes the host application, its main window and
// the platform services, connects the registered add-ins, opens FILE when given, and runs the
// event loop until the window closes.
namespace zov::app {

int runDesktop(int argc, char** argv);

} // namespace zov::app
