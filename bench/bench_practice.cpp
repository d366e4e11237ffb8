// The practice sections' costs: writing a results line into a short and into a long history,
// and one "COMPROBAR" of each exercise, the repaint included. Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include "pages.h"

namespace {

using rc::testing::App;

// Writes 100 lines into a history that holds `lines` already; the history is filled again,
// untimed, after every batch, so every batch meets the same length.
void writeLines(benchmark::State& state) {
    const int lines = int(state.range(0));
    App app;
    rc::ResultsHistory& history = app.form().results();
    history.show();
    auto refill = [&] {
        history.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (int i = 0; i < lines; ++i) history.writeLine("24/36 = 2/3 =  * MUY BIEN *");
        history.show();
        QCoreApplication::processEvents();
    };
    refill();
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) history.writeLine("3/4 X 2/5 = 6/20 ** MUY BIEN **");
        QCoreApplication::processEvents();  // the open window shows them
        state.PauseTiming();
        refill();
        state.ResumeTiming();
    }
    state.counters["lines/s"] =
        benchmark::Counter(100.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}

// One right check of the multiply/divide exercise and its repaint.
void productCheck(benchmark::State& state) {
    App app({1920, 1080, 96});
    rc::testing::ProductPage product(app);
    product.deal(3, 4, 2, 5);
    product.open();
    product.press(1);
    product.press(0);
    product.press(4, 4);
    QWidget* window = &app.form();
    for (auto _ : state) {
        product.check();
        window->repaint();
    }
    if (product.verdict().first() != rc::RGB(0, 255, 0)) state.SkipWithError("not judged right");
}

// One refused link of the simplify exercise, its message-free path, and the repaint.
void simplifyCheck(benchmark::State& state) {
    App app({1920, 1080, 96});
    rc::testing::SimplifyExercisePage simplify(app);
    simplify.open();
    simplify.answer(1, "12345", "7");
    QWidget* window = &app.form();
    for (auto _ : state) {
        simplify.check(0);
        window->repaint();
    }
}

// The floor of the two checks: repainting the window alone.
void repaintOnly(benchmark::State& state) {
    App app({1920, 1080, 96});
    QWidget* window = &app.form();
    for (auto _ : state) window->repaint();
}

}  // namespace

BENCHMARK(writeLines)->Arg(0)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(20);
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
