#pragma once

namespace rc {

// Screen readers walk the program's windows from the application down; Qt leaves its open
// menus (a list's context menu) out of that walk, so that a screen reader that reads the tree
// never meets "Copiar" or "Guardar como…". Once this is called, an open menu is one more child
// of the application, after its windows. Call it before the application exists.
void listOpenMenusForScreenReaders();

}  // namespace rc
