#include "shell/form1.h"

#include "controls/twips.h"
#include "learn/amplify_lesson.h"
#include "learn/representation_lesson.h"
#include "learn/simplify_lesson.h"
#include "learn/sum_lesson.h"
#include "pictures/pie_renderer.h"
#include "practice/number_pad.h"
#include "practice/product_exercise.h"
#include "practice/simplify_exercise.h"
#include "practice/sum_exercise.h"
#include "results/results_history.h"
#include "shell/catalogue.h"
#include "shell/help_texts.h"
#include "shell/menu.h"
#include "shell/section_layout.h"

namespace rc {

Form1::Form1(Platform& platform)
    : Form(QStringLiteral("Form1"), form1Catalogue()), platform_(platform) {
    restack(controls(), form1DesignStacking());
    setCaption(QStringLiteral("Ruedecitas 1.1 - %1").arg(QString::fromUtf8(ContactAddress)));
    setClientSize(Form1ClientWidth, Form1ClientHeight);
    endProgram = [] { endApplication(); };

    const Controls& c = controls();
    layout_ = std::make_unique<SectionLayout>(*this, platform_.screen);
    pies_ = std::make_unique<PieRenderer>(c, state_.WholeUnits1, state_.WholeUnits2);
    results_ = std::make_unique<ResultsHistory>(*this, c.array<Frame>("Frame1")(0), state_,
                                                platform_.messages, platform_.files);
    numberPad_ = std::make_unique<NumberPad>(*this, c, module1_);
    kit_ = std::make_unique<SectionKit>(SectionKit{
        c, state_, module1_, platform_.random, platform_.messages, *pies_, *results_, *numberPad_});
    representation_ = std::make_unique<RepresentationLesson>(*kit_);
    amplify_ = std::make_unique<AmplifyLesson>(*kit_);
    simplify_ = std::make_unique<SimplifyLesson>(*kit_);
    sumLesson_ = std::make_unique<SumLesson>(*kit_);
    simplifyExercise_ = std::make_unique<SimplifyExercise>(*kit_);
    sumExercise_ = std::make_unique<SumExercise>(*kit_);
    productExercise_ = std::make_unique<ProductExercise>(*kit_);
    menu_ = std::make_unique<SectionMenu>(
        c, state_,
        SectionMenu::Sections{*amplify_, *sumLesson_, *simplifyExercise_, *sumExercise_,
                              *productExercise_});
    c.single<CommandButton>("Command20").onClick([this] { Command20_Click(); });
    onUnload = [this] { Form_Unload(); };

    Form_Load();
    // Tab follows the places the sections have now: the menu column top to bottom, then the
    // section's controls in rows.
    orderTabsByPosition(c, Reading::ColumnsFirst, form1Fractions());
    // Once the pupil sees the window, the sections not shown yet are made ready, so that the
    // first click on each shows it as fast as any later one.
    afterFirstPaint = [&sections = c.array<Frame>("Frame1")] {
        for (const int i : sections.indices()) sections(i).prepareWhatItHolds();
    };
}

Form1::~Form1() {
    closeOtherWindows();
}

// The results window and the number pad go with the main window.
void Form1::closeOtherWindows() {
    results_->unload();
    numberPad_->unload();
}

void Form1::Form_Load() {
    state_.CurrentSection = 7;
    state_.MultiplierIndex = 0;
    platform_.random.Randomize();
    layout_->ArrangeSections();
    simplify_->HideSimplifySteps();
    const std::uint8_t primes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29};
    for (std::size_t i = 0; i < std::size(primes); ++i) state_.Primes[i] = primes[i];
    controls().single<PictureBox>("Picture1").setAutoRedraw(true);
    controls().single<PictureBox>("Picture2").setAutoRedraw(true);
    controls().array<CommandButton>("Command1")(7).setBackColor(SectionMenu::Green);
    pies_->DrawPies1();
    pies_->DrawPies2();
    LoadHelpTexts();
    controls().single<Label>("Label21").setCaption(state_.HelpTexts[7]);
}

// The nine help texts in slot order, then the simplify lesson's fixed message.
void Form1::LoadHelpTexts() {
    const auto& texts = helpTextTable();
    for (std::size_t i = 0; i < texts.size(); ++i) state_.HelpTexts[i] = texts[i];
    controls().array<Label>("Label3")(2).setCaption(notDivisibleMessage());
}

void Form1::Command1_Click(int index) {
    menu_->Command1_Click(index);
}

void Form1::Command20_Click() {
    results_->show();
}

void Form1::Form_Unload() {
    closeOtherWindows();
    endProgram();
}

}  // namespace rc
