#include "results/results_history.h"

#include "controls/numbers.h"
#include "controls/twips.h"
#include "shell/catalogue.h"
#include "shell/icon.h"

namespace rc {

Form3::Form3()
    : Form(QStringLiteral("Form3"), form3Catalogue(), Qt::Window),
      List1(controls().single<ListBox>("List1")) {
    setAttribute(Qt::WA_DeleteOnClose);
    setCaption(QStringLiteral("TUS RESULTADOS"));
    setBackColor(RGB(255, 128, 255));
    setClientSize(Form3ClientWidth, Form3ClientHeight);
    setWindowIcon(programIcon());
}

void Form3::Form_Load(const Control& sectionArea, QMargins decoration) {
    const double areaLeft = sectionArea.Left();
    const double areaWidth = sectionArea.Width();
    const double outerWidth =
        Width() + (isVisible() ? 0 : twips::fromPixels(decoration.left() + decoration.right()));
    const double areaTop = sectionArea.Top();
    const double areaHeight = sectionArea.Height();
    const double outerHeight =
        Height() + (isVisible() ? 0 : twips::fromPixels(decoration.top() + decoration.bottom()));
    const double dy = double(halved(areaHeight - outerHeight));
    const double dx = double(halved(areaWidth - outerWidth));
    moveTo(areaLeft + dx, areaTop + 500 + dy);
}

ResultsHistory::ResultsHistory(Form& mainWindow, const Control& sectionArea)
    : mainWindow_(mainWindow), sectionArea_(sectionArea) {}

ResultsHistory::~ResultsHistory() {
    unload();
}

Form3& ResultsHistory::load() {
    if (!form3_) {
        form3_ = new Form3();
        const QRect outer = mainWindow_.frameGeometry(), inner = mainWindow_.geometry();
        const QMargins decoration(inner.left() - outer.left(), inner.top() - outer.top(),
                                  outer.right() - inner.right(), outer.bottom() - inner.bottom());
        form3_->Form_Load(sectionArea_, decoration);
    }
    return *form3_;
}

void ResultsHistory::show() {
    Form3& window = load();
    window.show();
    window.raise();
    window.activateWindow();
}

void ResultsHistory::unload() {
    if (form3_) delete form3_.data();
}

}  // namespace rc
