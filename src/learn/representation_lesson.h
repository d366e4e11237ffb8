#pragma once

#include "sections/section_kit.h"

namespace rc {

// "Representación gráfica": one fraction (Label1) and its picture (Picture1). The pupil changes
// the numerator and the denominator with two pairs of buttons; clicking a sector colours or
// uncolours it and changes the numerator to match.
class RepresentationLesson {
  public:
    explicit RepresentationLesson(const SectionKit& kit);

    void Command2_Click(int index);  // numerator "+" / "--"
    void Command3_Click(int index);  // denominator "+" / "-"
    void Picture1_Mousedown(int button, int shift, double x, double y);

  private:
    Form1State& state_;
    PieRenderer& pies_;
    ControlArray<CommandButton>& Command2;
    ControlArray<CommandButton>& Command3;
    ControlArray<Label>& Label1;
    PictureBox& Picture1;
};

}  // namespace rc
