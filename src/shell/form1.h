#pragma once

#include <memory>

#include "controls/form.h"
#include "controls/platform.h"
#include "sections/section_kit.h"

namespace rc {

class PieRenderer;
class SectionLayout;
class SectionMenu;
class RepresentationLesson;
class AmplifyLesson;
class SimplifyLesson;
class SumLesson;
class SimplifyExercise;
class SumExercise;
class ProductExercise;
class ResultsHistory;
class NumberPad;

// The main window: the menu on the left, one section at a time to its right, the help text
// across the top. It owns the sections and the state they share.
class Form1 : public Form {
  public:
    explicit Form1(Platform& platform);
    ~Form1() override;

    // Runs once, before the window is first shown (the constructor calls it).
    void Form_Load();
    // A menu button: shows section `index` and starts it again.
    void Command1_Click(int index);
    // "HISTORIAL": shows the results window.
    void Command20_Click();
    // The main window closes: the program ends, with every window.
    void Form_Unload();

    Form1State& state() { return state_; }
    Module1& module1() { return module1_; }
    Platform& platform() { return platform_; }

    PieRenderer& pies() { return *pies_; }
    RepresentationLesson& representation() { return *representation_; }
    AmplifyLesson& amplify() { return *amplify_; }
    SimplifyLesson& simplify() { return *simplify_; }
    SumLesson& sumLesson() { return *sumLesson_; }
    SimplifyExercise& simplifyExercise() { return *simplifyExercise_; }
    SumExercise& sumExercise() { return *sumExercise_; }
    ProductExercise& productExercise() { return *productExercise_; }
    ResultsHistory& results() { return *results_; }
    NumberPad& numberPad() { return *numberPad_; }
    // What every section is built with.
    const SectionKit& kit() const { return *kit_; }

    // Ends the program; the application's quit unless a test says otherwise.
    std::function<void()> endProgram;

  private:
    void LoadHelpTexts();
    void closeOtherWindows();

    Platform& platform_;
    Form1State state_;
    Module1 module1_;
    std::unique_ptr<SectionLayout> layout_;
    std::unique_ptr<PieRenderer> pies_;
    std::unique_ptr<ResultsHistory> results_;
    std::unique_ptr<NumberPad> numberPad_;
    std::unique_ptr<SectionKit> kit_;
    std::unique_ptr<RepresentationLesson> representation_;
    std::unique_ptr<AmplifyLesson> amplify_;
    std::unique_ptr<SimplifyLesson> simplify_;
    std::unique_ptr<SumLesson> sumLesson_;
    std::unique_ptr<SimplifyExercise> simplifyExercise_;
    std::unique_ptr<SumExercise> sumExercise_;
    std::unique_ptr<ProductExercise> productExercise_;
    std::unique_ptr<SectionMenu> menu_;
};

// The contact address, in the title and on the presentation panel.
inline const char* const ContactAddress = "ruedecitas@example.org";

}  // namespace rc
