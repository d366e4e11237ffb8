#pragma once

namespace rc {

// The program speaks Spanish whatever the desktop's language: Qt's own words (the message box's
// button, the save dialog, the lists' menus) come from Qt's Spanish translations, and the few
// Qt has no Spanish for from a table of the program's own. Dates and sizes are written the
// Spanish way. Returns false when Qt's translations are not installed: the program then shows
// Qt's words in English, and everything else as always.
bool speakSpanish();

}  // namespace rc
