#pragma once

#include "controls/form.h"
#include "practice/pad_numbers.h"
#include "sections/section_kit.h"

namespace rc {

// The number pad's make-up and its client area, twips.
std::span<const Row> form2Catalogue();
inline constexpr double Form2ClientWidth = 4590, Form2ClientHeight = 4020;

// The number pad: a small window without title bar, with a display and keys.
class Form2 : public Form {
  public:
    explicit Form2(Form& owner);
    // Runs once, when the pad is loaded: places it under the simplify exercise of the main
    // window (`form1` holds Frame9 and Frame1(0)), clears the display and numbers the keys.
    void Form_Load(const Controls& form1);

    Label& Label1;
    ControlArray<CommandButton>& Command1;  // the digits
    ControlArray<CommandButton>& Command2;  // "+1", "-1", "+5", "-5", "+10", "-10"
    CommandButton& Command3;                // "BORRAR"
};

// Opens the pad for the exercise numbers of the main window, loading it on first use. The
// program never closes it; it goes when the program ends.
class NumberPad : public NumberEntry {
  public:
    // The pad belongs to `owner`, the main window whose controls are `form1`.
    NumberPad(Form& owner, const Controls& form1, Module1& module1);
    ~NumberPad() override;

    void openFor(int label) override;
    // The pad is hidden where it stands; it opens there again.
    void putAway() override;

    // The pad's keys: each changes the display and copies it into Label17(EditedLabel), while
    // the pad writes into a number and that number is shown and not locked by a check.
    void Command1_Click(int index);  // digit `index`, while the number is below 10000
    void Command2_Click(int index);  // a step
    void Command3_Click();           // "BORRAR"
    // A key pressed in the pad (or, but for Enter, in the main window) while the pad writes
    // into a number: a digit (main row or keypad) presses that digit's key, Backspace and
    // Delete "BORRAR", the keypad's + and - "+1" and "-1"; Enter puts the pad away and gives
    // the keyboard to the control after the number. Returns whether the key was the pad's.
    bool Form_KeyDown(int keyCode, int shift);
    // Dragging the pad by its background: the point under the pointer stays under it.
    void Form_MouseMove(int button, int shift, double x, double y);
    Form2* window() const { return form2_.get(); }
    void unload() { form2_.unload(); }

  private:
    void load();
    bool editable() const;
    void show(const QString& number);

    Form& owner_;
    const Controls& form1_;
    Module1& module1_;
    bool writing_ = false;  // EditedLabel names the number the pupil last clicked
    FormSlot<Form2> form2_;
    float GrabX = 0;  // the pointer's place when it last moved with no button held
    int GrabY = 0;
};

}  // namespace rc
