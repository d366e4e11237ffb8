#pragma once

#include "controls/form.h"

namespace rc {

// The number pad: a small borderless window with a display and keys. What the keys do comes
// with the simplify exercise; for now it is its make-up.
class Form2 : public Form {
  public:
    Form2();

  protected:
    void paintEvent(QPaintEvent* event) override;  // the fixed single-pixel border
};

}  // namespace rc
