#include "results/results_history.h"

#include "controls/numbers.h"

namespace rc {

Form3::Form3()
    : Form(QStringLiteral("Form3"), form3Catalogue()), List1(controls().single<ListBox>("List1")) {
    setUnloadOnClose(true);
    setCaption(QStringLiteral("TUS RESULTADOS"));
    setBackColor(RGB(255, 128, 255));
    setClientSize(Form3ClientWidth, Form3ClientHeight);
}

void Form3::Form_Load(const Control& sectionArea) {
    const double areaLeft = sectionArea.Left();
    const double areaWidth = sectionArea.Width();
    const double outerWidth = Width();
    const double areaTop = sectionArea.Top();
    const double areaHeight = sectionArea.Height();
    const double outerHeight = Height();
    const double dy = double(halved(areaHeight - outerHeight));
    const double dx = double(halved(areaWidth - outerWidth));
    moveTo(areaLeft + dx, areaTop + 500 + dy);
}

ResultsHistory::ResultsHistory(const Form& mainWindow, const Control& sectionArea,
                               Form1State& state)
    : mainWindow_(mainWindow), sectionArea_(sectionArea), state_(state) {}

ResultsHistory::~ResultsHistory() {
    unload();
}

Form3& ResultsHistory::load() {
    if (!form3_.loaded()) {
        Form3& window = form3_.load();
        window.assumeFrameOf(mainWindow_);
        window.Form_Load(sectionArea_);
    }
    return *form3_.get();
}

void ResultsHistory::show() {
    load().Show();
}

void ResultsHistory::writeLine(const QString& line) {
    load().List1.setList(state_.HistoryCount, line);
    state_.HistoryCount += 1;
}

}  // namespace rc
