#pragma once

class QApplication;

namespace rc {

// The program's command line: --help, --help-all, --version and --escala FACTOR.
//
// Called before the application exists: answers --help and --version and ends the program, so
// they work without a display, and sets Qt's scale factor to what --escala asks for. False,
// after a message and a hint to use --help on standard error, when --escala's factor is not a
// number from 1 to 4. Anything else waits for the application, which takes Qt's own options
// (-platform, -style, ...) out of the arguments first.
bool prepareCommandLine(int argc, char* argv[]);

// Called once the application exists, before any window: false, after Qt's message and a hint to
// use --help on standard error, when an option is one the program does not know. --help-all
// prints Qt's options too and ends the program.
bool acceptCommandLine(const QApplication& app);

}  // namespace rc
