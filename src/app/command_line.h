#pragma once

class QApplication;

namespace rc {

// The program's command line: --help, --help-all and --version, nothing else.
//
// Called before the application exists: answers --help and --version and ends the program, so
// they work without a display. Anything else waits for the application, which takes Qt's own
// options (-platform, -style, ...) out of the arguments first.
void answerHelpOrVersion(int argc, char* argv[]);

// Called once the application exists, before any window: false, after Qt's message and a hint to
// use --help on standard error, when an option is one the program does not know. --help-all
// prints Qt's options too and ends the program.
bool acceptCommandLine(const QApplication& app);

}  // namespace rc
