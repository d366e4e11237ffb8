#pragma once

#include "controls/catalogue.h"
#include "sections/section_state.h"

namespace rc {

class AmplifyLesson;
class SumLesson;
class SimplifyExercise;
class SumExercise;
class ProductExercise;

// The column of nine section buttons. A click hides the section shown, shows the chosen one
// with its help text, sets which of the lessons' shared controls show, and starts the section
// again: every menu click restarts the section.
class SectionMenu {
  public:
    struct Sections {
        AmplifyLesson& amplify;
        SumLesson& sumLesson;
        SimplifyExercise& simplifyExercise;
        SumExercise& sumExercise;
        ProductExercise& productExercise;
    };
    SectionMenu(const Controls& controls, Form1State& state, Sections sections);

    void Command1_Click(int index);

    static constexpr Colour Green = 65280;
    static constexpr Colour White = 16777215;

    // Which of Picture1, Picture2, Frame2 and Frame3 each section shows.
    struct SharedControls {
        bool picture1, picture2, frame2, frame3;
    };
    static SharedControls sharedControlsOf(int section);

  private:
    Form1State& state_;
    Sections sections_;
    ControlArray<CommandButton>& Command1;
    ControlArray<Frame>& Frame1;
    Label& Label21;
    PictureBox& Picture1;
    PictureBox& Picture2;
    Frame& Frame2;
    Frame& Frame3;
};

}  // namespace rc
