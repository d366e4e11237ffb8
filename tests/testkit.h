#pragma once

#include <QStringList>
#include <QTest>
#include <deque>
#include <memory>
#include <random>

#include "controls/catalogue.h"
#include "controls/platform.h"
#include "shell/form1.h"

namespace rc::testing {

// A random source that repeats itself for a given seed; Randomize keeps the seed. Values
// given to `script` or `deal` come first, in order, so that a test can deal a chosen exercise.
class ScriptedRandom : public RandomSource {
  public:
    explicit ScriptedRandom(std::uint64_t seed = 1) : engine_(seed) {}
    void Randomize() override { ++randomizeCalls; }
    double Rnd() override {
        if (script_.empty()) return double(engine_() >> 11) * 0x1.0p-53;
        const double r = script_.front();
        script_.pop_front();
        return r;
    }
    void script(std::initializer_list<double> values) { script_.insert(script_.end(), values); }
    // Queues the r for which a draw Int(m * r) + c gives `value`.
    void deal(double m, double c, double value) { script_.push_back((value - c + 0.5) / m); }
    int randomizeCalls = 0;

  private:
    std::mt19937_64 engine_;
    std::deque<double> script_;
};

// A real left click on a widget, in its middle unless a point is given.
inline void leftClick(QWidget* widget, QPoint at = {-1, -1}) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at.x() < 0 ? widget->rect().center() : at);
}

// Records the text of every message box instead of showing it, or (`real`) as well as showing
// the program's own box.
class RecordingMessages : public MessageBoxes {
  public:
    void MsgBox(const QString& text) override {
        shown << text;
        if (real) QtMessageBoxes().MsgBox(text);
    }
    QStringList shown;
    bool real = false;
};

// Answers every save dialog with `answer` (empty: cancelled) and records what it asked.
class AnsweringFileDialogs : public FileDialogs {
  public:
    QString saveFileName(const QString& title, const QString& name,
                         const QString& filter) override {
        asked << title + " | " + name + " | " + filter;
        return answer;
    }
    QString answer;
    QStringList asked;
};

// The main window as the program starts it, on a screen of the given size, with seams that
// the test controls. The window is shown (offscreen), at its client size, and active.
struct App {
    explicit App(ScreenMetrics screen = {800, 600, 96}, std::uint64_t seed = 1);
    ~App();

    Form1& form() { return *form1; }
    const Controls& controls() const { return form1->controls(); }
    // The control at an address, "Label1(0)", of the given kind.
    template <class T = Control>
    T& at(const QString& address) const {
        if (auto* control = dynamic_cast<T*>(controls().find(address))) return *control;
        throw std::out_of_range("no control " + address.toStdString());
    }
    Label& label(const QString& address) const { return at<Label>(address); }
    CommandButton& button(const QString& address) const { return at<CommandButton>(address); }
    PictureBox& picture(const QString& address) const { return at<PictureBox>(address); }
    // A real left click, delivered through Qt's event system to the button.
    void click(const QString& address) { leftClick(button(address).widget()); }

    ScriptedRandom random;
    RecordingMessages messages;
    AnsweringFileDialogs files;
    Platform platform;
    std::unique_ptr<Form1> form1;
    int endRequests = 0;
};

// Adds one data row per line of `table`, "name | cell | cell ...", as the QStringList column
// "cells" (trimmed but for "quoted" cells, the name left out); and reads the numbers of a cell, "3
// 4 2 5".
void tableRows(const char* table);
QList<double> numbersIn(const QString& cell);

// Makes the fonts of the catalogue available (Arial's metrics) once per test program.
void prepareApplication();

}  // namespace rc::testing
