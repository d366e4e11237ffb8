#pragma once

#include "controls/form.h"
#include "sections/section_kit.h"

namespace rc {

// The results window's make-up and its client area, twips.
std::span<const Row> form3Catalogue();
inline constexpr double Form3ClientWidth = 9720, Form3ClientHeight = 5940;

// "TUS RESULTADOS": the results window, its list of judged exercises.
class Form3 : public Form {
  public:
    Form3();
    // Places the window over the section area of the main window (`sectionArea`, its
    // Frame1(0)), 500 twips lower than centred.
    void Form_Load(const Control& sectionArea);
    ListBox& List1;
};

// Owns the results window while it is loaded: it is created on first use (a line or
// "HISTORIAL"), kept while open and unloaded, lines and all, when the pupil closes it. The
// list's context menu keeps the lines beyond that: "Copiar" (the selected line, or all of them
// while none is selected) and "Guardar como…" (all of them, to a text file).
class ResultsHistory : public ResultsLog {
  public:
    ResultsHistory(const Form& mainWindow, const Control& sectionArea, Form1State& state,
                   MessageBoxes& messages, FileDialogs& files);
    ~ResultsHistory() override;

    // Loads the window if needed (hidden) and returns it.
    Form3& load();
    // Loads the window if needed and shows it, modeless and without owner.
    void show();
    // The line goes at position HistoryCount, which then counts it; a position beyond the end
    // of the list (the pupil closed the window, emptying it) appends.
    void writeLine(const QString& line) override;
    Form3* window() const { return form3_.get(); }
    // Closes the window, if loaded (the program is ending).
    void unload() { form3_.unload(); }

  private:
    QStringList lines() const;
    void copyLines();
    void saveLines();

    const Form& mainWindow_;
    const Control& sectionArea_;
    Form1State& state_;
    MessageBoxes& messages_;
    FileDialogs& files_;
    FormSlot<Form3> form3_;
};

}  // namespace rc
