// What clicks cost in-process, the repaint included: a menu click that switches sections, a
// numerator "+" with its picture, a results line written into a short and into a long history,
// and one "COMPROBAR" of each exercise. Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include "pupil.h"

namespace {

using rc::testing::App;

// One line written into an open history that holds `lines` already, and shown: what a check
// that is right costs the history. The line is taken away again, untimed, after each round.
void writeLine(benchmark::State& state) {
    App app;
    rc::ResultsHistory& history = app.form().results();
    for (int i = 0; i < state.range(0); ++i) history.writeLine("24/36 = 2/3 =  * MUY BIEN *");
    history.show();
    QCoreApplication::processEvents();
    rc::ListBox& list = history.window()->List1;
    for (auto _ : state) {
        history.writeLine("3/4 X 2/5 = 6/20 ** MUY BIEN **");
        QCoreApplication::processEvents();  // the open window shows it
        state.PauseTiming();
        list.RemoveItem(list.ListCount() - 1);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (list.ListCount() != state.range(0)) state.SkipWithError("the history's length changed");
}

// One right check of the multiply/divide exercise and its repaint.
void productCheck(benchmark::State& state) {
    App app({1920, 1080, 96});
    rc::testing::Pupil pupil(app);
    for (const char* word : {"product3/4,2/5", "menu6", "N+5", "N", "D+5*4"}) pupil.act(word);
    QWidget* window = &app.form();
    for (auto _ : state) {
        pupil.act("check");
        window->repaint();
    }
    if (pupil.read("verdict") != "green green green") state.SkipWithError("not judged right");
}

// One refused link of the simplify exercise, its message-free path, and the repaint.
void simplifyCheck(benchmark::State& state) {
    App app({1920, 1080, 96});
    rc::testing::Pupil pupil(app);
    for (const char* word : {"menu4", "F1=12345/7"}) pupil.act(word);
    QWidget* window = &app.form();
    for (auto _ : state) {
        pupil.act("check0");
        window->repaint();
    }
}

// A menu click that switches sections (Amplificar and Simplificar in turn), the click handled
// and the window's pending repaint done, as a pupil's click reaches the screen.
void menuSwitch(benchmark::State& state) {
    App app({1280, 800, 96});
    rc::testing::Pupil pupil(app);
    pupil.act("menu1");
    QCoreApplication::processEvents();
    int section = 1;
    for (auto _ : state) {
        section = section == 1 ? 2 : 1;
        pupil.act(QStringLiteral("menu%1").arg(section));
        QCoreApplication::processEvents();
    }
}

// A numerator "+" of the graphic-representation lesson and the "-" after it, each handled and
// its picture repainted.
void numeratorPlus(benchmark::State& state) {
    App app({1280, 800, 96});
    rc::testing::Pupil pupil(app);
    pupil.act("menu0");
    QCoreApplication::processEvents();
    bool up = false;
    for (auto _ : state) {
        up = !up;
        pupil.act(up ? "n+" : "n-");
        QCoreApplication::processEvents();
    }
}

// The floor of the two checks: repainting the window alone.
void repaintOnly(benchmark::State& state) {
    App app({1920, 1080, 96});
    QWidget* window = &app.form();
    for (auto _ : state) window->repaint();
}

}  // namespace

BENCHMARK(writeLine)->Arg(0)->Arg(30)->Arg(1000)->Arg(40000)->Unit(benchmark::kMicrosecond);
BENCHMARK(menuSwitch)->Unit(benchmark::kMillisecond);
BENCHMARK(numeratorPlus)->Unit(benchmark::kMillisecond);
BENCHMARK(repaintOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(productCheck)->Unit(benchmark::kMillisecond);
BENCHMARK(simplifyCheck)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    rc::testing::prepareApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
