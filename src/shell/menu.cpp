#include "shell/menu.h"

#include <array>

#include "learn/amplify_lesson.h"
#include "learn/sum_lesson.h"
#include "practice/product_exercise.h"
#include "practice/simplify_exercise.h"
#include "practice/sum_exercise.h"

namespace rc {

SectionMenu::SectionMenu(const Controls& controls, Form1State& state, Sections sections)
    : state_(state),
      sections_(sections),
      Command1(controls.array<CommandButton>("Command1")),
      Frame1(controls.array<Frame>("Frame1")),
      Label21(controls.single<Label>("Label21")),
      Picture1(controls.single<PictureBox>("Picture1")),
      Picture2(controls.single<PictureBox>("Picture2")),
      Frame2(controls.single<Frame>("Frame2")),
      Frame3(controls.single<Frame>("Frame3")) {
    Command1.onClick([this](int index) { Command1_Click(index); });
}

SectionMenu::SharedControls SectionMenu::sharedControlsOf(int section) {
    //                                                Picture1 Picture2 Frame2 Frame3
    static constexpr std::array<SharedControls, 9> table = {{
        {true, true, true, true},      // 0 Representación gráfica
        {false, true, false, true},    // 1 Amplificar
        {false, true, false, true},    // 2 Simplificar
        {false, true, false, false},   // 3 Suma y resta
        {false, false, false, false},  // 4 SIMPLIFICA
        {false, false, false, false},  // 5 SUMA Y RESTA
        {false, false, false, false},  // 6 MULTIPLICACIÓN Y DIVISIÓN
        {false, false, false, false},  // 7 PRESENTACIÓN
        {false, false, false, false},  // 8 Inicio
    }};
    return table.at(static_cast<std::size_t>(section));
}

void SectionMenu::Command1_Click(int index) {
    sections_.simplifyExercise.PutPadAway();
    Frame1(state_.CurrentSection).setVisible(false);
    Command1(state_.CurrentSection).setBackColor(White);
    Command1(index).setBackColor(Green);
    Frame1(index).setVisible(true);
    Label21.setCaption(state_.HelpTexts.at(static_cast<std::size_t>(index)));
    sections_.amplify.ShowAmplified();

    const SharedControls shown = sharedControlsOf(index);
    Picture1.setVisible(shown.picture1);
    Picture2.setVisible(shown.picture2);
    Frame2.setVisible(shown.frame2);
    Frame3.setVisible(shown.frame3);
    switch (index) {
        case 3:
            sections_.sumLesson.NewSumLesson();
            sections_.sumLesson.DrawSumPies();
            sections_.sumLesson.HideFirstArrows();
            sections_.sumLesson.HideSecondArrows();
            break;
        case 4:
            sections_.simplifyExercise.NewSimplifyExercise();
            break;
        case 5:
            sections_.sumExercise.NewSumExercise();
            break;
        case 6:
            sections_.productExercise.NewProductExercise();
            break;
        default:
            break;
    }

    state_.CurrentSection = index;
    state_.HadErrors = 0;
}

}  // namespace rc
