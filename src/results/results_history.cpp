#include "results/results_history.h"

#include "controls/numbers.h"
#include "controls/text_file.h"

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
                               Form1State& state, MessageBoxes& messages, FileDialogs& files)
    : mainWindow_(mainWindow),
      sectionArea_(sectionArea),
      state_(state),
      messages_(messages),
      files_(files) {}

ResultsHistory::~ResultsHistory() {
    unload();
}

Form3& ResultsHistory::load() {
    if (!form3_.loaded()) {
        Form3& window = form3_.load();
        window.assumeFrameOf(mainWindow_);
        window.Form_Load(sectionArea_);
        window.List1.addMenuEntry(QStringLiteral("Copiar"), StandardKey::Copy,
                                  ShortcutScope::Control, [this] { copyLines(); });
        window.List1.addMenuEntry(QStringLiteral("Guardar como…"), StandardKey::Save,
                                  ShortcutScope::Window, [this] { saveLines(); });
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

QStringList ResultsHistory::lines() const {
    QStringList all;
    const ListBox& list = form3_.get()->List1;
    for (int i = 0; i < list.ListCount(); ++i) all << list.List(i);
    return all;
}

// An empty list copies nothing: the clipboard keeps what it held.
void ResultsHistory::copyLines() {
    const ListBox& list = form3_.get()->List1;
    if (list.ListCount() == 0) return;
    setClipboardText(list.ListIndex() >= 0 ? list.List(list.ListIndex())
                                           : lines().join(QLatin1Char('\n')));
}

// The lines as they are when the pupil chooses the entry; a cancelled dialog saves nothing.
void ResultsHistory::saveLines() {
    const QStringList all = lines();
    const QString path =
        files_.saveFileName(QStringLiteral("Guardar el historial"), QStringLiteral("historial.txt"),
                            QStringLiteral("Texto (*.txt)"));
    if (path.isEmpty()) return;
    QString reason;
    if (!writeTextAtomically(path, all, &reason))
        messages_.MsgBox(
            QStringLiteral("No se pudo guardar el historial en «%1»: %2").arg(path, reason));
}

}  // namespace rc
