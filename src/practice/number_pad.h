#pragma once

#include "controls/form.h"
#include "sections/section_kit.h"

namespace rc {

// The number pad's make-up and its client area, twips.
std::span<const Row> form2Catalogue();
inline constexpr double Form2ClientWidth = 4590, Form2ClientHeight = 4020;

// The number pad: a small window without title bar, with a display and keys.
class Form2 : public Form {
  public:
    Form2();
    // Runs once, when the pad is loaded: places it under the simplify exercise of the main
    // window (`form1` holds Frame9 and Frame1(0)), clears the display and numbers the keys.
    void Form_Load(const Controls& form1);

    Label& Label1;
    ControlArray<CommandButton>& Command1;
};

// Opens the pad for the exercise numbers of the main window, loading it on first use. The
// program never closes it; it goes when the program ends.
class NumberPad : public NumberEntry {
  public:
    NumberPad(const Controls& form1, Module1& module1);
    ~NumberPad() override;

    void openFor(int label) override;
    Form2* window() const { return form2_.get(); }
    void unload() { form2_.unload(); }

  private:
    const Controls& form1_;
    Module1& module1_;
    FormSlot<Form2> form2_;
};

}  // namespace rc
