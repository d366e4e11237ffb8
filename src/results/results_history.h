#pragma once

#include <QPointer>

#include "controls/form.h"

namespace rc {

// "TUS RESULTADOS": the results window, its list of judged exercises.
class Form3 : public Form {
  public:
    Form3();
    // Places the window over the section area of the main window, 500 twips lower than
    // centred. `sectionArea` is Frame1(0) of the main window; `decoration` the frame that the
    // desktop puts around a window, which counts in the window's outer size.
    void Form_Load(const Control& sectionArea, QMargins decoration);
    ListBox& List1;
};

// Owns the results window while it is loaded: it is created on first use, kept while open and
// unloaded, lines and all, when the pupil closes it.
class ResultsHistory {
  public:
    ResultsHistory(Form& mainWindow, const Control& sectionArea);
    ~ResultsHistory();

    // Loads the window if needed (hidden) and returns it.
    Form3& load();
    // Loads the window if needed and shows it, modeless and without owner.
    void show();
    Form3* window() const { return form3_; }
    // Closes the window, if loaded (the program is ending).
    void unload();

  private:
    Form& mainWindow_;
    const Control& sectionArea_;
    QPointer<Form3> form3_;
};

}  // namespace rc
