#include "shell/section_layout.h"

#include "controls/numbers.h"

namespace rc {

SectionLayout::SectionLayout(Form& form, const ScreenMetrics& screen)
    : form_(form), screen_(screen) {}

void SectionLayout::ArrangeSections() {
    const Controls& c = form_.controls();
    auto& Frame1 = c.array<Frame>("Frame1");
    auto& Command1 = c.array<CommandButton>("Command1");
    auto& Picture1 = c.single<PictureBox>("Picture1");
    auto& Picture2 = c.single<PictureBox>("Picture2");
    auto& Frame2 = c.single<Frame>("Frame2");
    auto& Frame3 = c.single<Frame>("Frame3");
    auto& Option1 = c.array<OptionButton>("Option1");
    auto frame = [&](const char* name) -> Frame& { return c.single<Frame>(name); };

    // 1. One section area for all nine frames, right of the menu, out to the screen's edges.
    const double screenWidth = screen_.widthTwips(), screenHeight = screen_.heightTwips();
    for (int i = 0; i <= 8; ++i) {
        Frame1(i).setTop(Command1(7).Top() - 70);
        Frame1(i).setLeft(Command1(0).Left() + Command1(0).Width() + 30);
        Frame1(i).setWidth(screenWidth - Frame1(i).Left() - 80);
        Frame1(i).setHeight(screenHeight - Frame1(i).Top() - 1000);
    }
    const Frame& F = Frame1(0);

    // 2-4. The window, every frame and the option buttons in the form colour; the menu white.
    const Colour formColour = QBColor(3);
    form_.setBackColor(formColour);
    for (int i = 0; i <= 8; ++i) {
        Frame1(i).setBackColor(formColour);
        Command1(i).setBackColor(MenuWhite);
    }
    for (const char* name : {"Frame2", "Frame3", "Frame4", "Frame5", "Frame6", "Frame7", "Frame8",
                             "Frame9", "Frame10", "Frame11"})
        frame(name).setBackColor(formColour);
    Option1(0).setBackColor(formColour);
    Option1(1).setBackColor(formColour);

    // 5. The first screen shows neither fraction editor nor the upper picture.
    Frame2.setVisible(false);
    Frame3.setVisible(false);
    Picture1.setVisible(false);

    // 6-7. The two pictures of the lessons, one above the other, left in the area.
    Picture1.setTop(F.Top() + 200);
    Picture1.setLeft(F.Left() + 60);
    Picture1.setWidth(F.Width() - 120 - Frame2.Width() - 20);
    Picture1.setHeight(double(halved(F.Height())) - 200);
    Picture2.setTop(F.Top() + 200 + Picture1.Height() + 30);
    Picture2.setLeft(F.Left() + 60);
    Picture2.setWidth(F.Width() - 120 - Frame2.Width() - 20);
    Picture2.setHeight(double(halved(F.Height())) - 200);

    // 8. Inner frames: centred in the whole area, or in its upper half for the lessons, whose
    // lower half belongs to Picture2 and Frame3.
    auto centre = [&](const char* name) {
        Frame& inner = frame(name);
        inner.setLeft(double(halved(F.Width() - inner.Width())));
        inner.setTop(double(halved(F.Height() - inner.Height())));
    };
    auto centreInUpperHalf = [&](const char* name) {
        Frame& inner = frame(name);
        inner.setLeft(double(halved(F.Width() - inner.Width())));
        inner.setTop(double(halved(double(halved(F.Height())) - inner.Height())));
    };
    centre("Frame10");
    centreInUpperHalf("Frame5");
    centreInUpperHalf("Frame4");
    centre("Frame7");
    centre("Frame8");
    frame("Frame9").setLeft(double(halved(F.Width() - frame("Frame9").Width())));
    frame("Frame9").setTop(200);
    frame("Frame6").setTop(double(halved(double(halved(F.Height())) - frame("Frame6").Height())));
    centre("Frame11");

    // 9. Each fraction editor to the right of its picture.
    Frame2.setLeft(Picture1.Left() + Picture1.Width() + 20);
    Frame2.setTop(Picture1.Top());
    Frame3.setLeft(Picture2.Left() + Picture2.Width() + 20);
    Frame3.setTop(Picture2.Top());

    // 10. Upper picture, then panel, then editor to the front.
    Picture1.ZOrder();
    Frame3.ZOrder();
    Frame2.ZOrder();
}

}  // namespace rc
