// Drawing times of the fraction pictures on the picture sizes of a 1920 x 1080 and a
// 3840 x 2160 screen, next to the floor: clearing the same picture. Run with
// QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QThreadPool>
#include <cstring>
#include <latch>
#include <map>
#include <memory>

#include "learn/representation_lesson.h"
#include "learn/sum_lesson.h"
#include "pictures/pie_renderer.h"
#include "testkit.h"

namespace {

using rc::testing::App;

std::map<int, std::unique_ptr<App>>& apps() {
    static std::map<int, std::unique_ptr<App>> all;
    return all;
}

// The main window as it starts on a screen `width` pixels wide (16:9).
App& appFor(int width) {
    auto& app = apps()[width];
    if (!app) app = std::make_unique<App>(rc::ScreenMetrics{width, width * 9 / 16, 96});
    return *app;
}

void setLabel(rc::testing::App& app, const char* numerator, const char* denominator) {
    app.label("Label2(0)").setCaption(QString::fromLatin1(numerator));
    app.label("Label2(1)").setCaption(QString::fromLatin1(denominator));
}

// DrawPies on Picture2 (the picture whose denominators can grow without limit).
void drawPies(benchmark::State& state, int screen, const char* numerator, const char* denominator) {
    App& app = appFor(screen);
    setLabel(app, numerator, denominator);
    rc::PictureBox& picture = app.picture("Picture2");
    double whole = 0;
    for (auto _ : state) {
        // One pixel written again as it is: the picture is drawn anew each round instead of
        // being found to show the drawing already.
        picture.surface().setPixel(0, 0, picture.Point(0, 0));
        rc::PieRenderer::DrawPies(picture, app.label("Label2(0)"), app.label("Label2(1)"), whole);
        benchmark::DoNotOptimize(picture.surface().image().constBits());
    }
    state.counters["pixels"] = double(picture.ScaleWidth()) * picture.ScaleHeight();
}

// The floor: clearing the same picture.
void clear(benchmark::State& state, int screen) {
    rc::PictureBox& picture = appFor(screen).picture("Picture2");
    for (auto _ : state) {
        picture.Cls();
        benchmark::DoNotOptimize(picture.surface().image().constBits());
    }
}

// Columns from..to - 1 (eight or more) of every row in one colour, eight pixels a store, as
// the program's own fills (with the wider registers where the processor has them).
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
__attribute__((target_clones("avx2", "default")))
#endif
void fillColumns(rc::Surface::Rows rows, int height, int from, int to, QRgb colour) {
    using Eight = QRgb __attribute__((vector_size(32)));
    const Eight eight = Eight{} + colour;
    for (int y = 0; y < height; ++y) {
        QRgb* const line = rows[y];
        for (int x = from; x + 8 <= to; x += 8) std::memcpy(line + x, &eight, sizeof eight);
        std::memcpy(line + to - 8, &eight, sizeof eight);
    }
}

// How the picture is cut in two for clearHalves.
enum class Halves { OneThread, LeftAndRight, UpperAndLower };

// The picture cleared in two halves: one after the other on this thread, or side by side on
// this thread and one of the pool, cut at its middle column or at its middle row. The circles
// are drawn on two threads in bands of rows: this shows, in the same run, what two threads
// gain on this machine either way.
void clearHalves(benchmark::State& state, int screen, Halves halves) {
    rc::Surface& surface = appFor(screen).picture("Picture2").surface();
    const rc::Surface::Rows rows = surface.rows();
    const int width = surface.width(), height = surface.height();
    const int middle = width / 2, cut = height / 2;
    const rc::Surface::Rows lower{rows.bits + cut * rows.bytesPerLine, rows.bytesPerLine};
    QRgb colour = 0xFFFFFFFF;
    for (auto _ : state) {
        colour ^= 1;
        if (halves == Halves::OneThread) {
            fillColumns(rows, height, 0, middle, colour);
            fillColumns(rows, height, middle, width, colour);
        } else {
            const bool byRows = halves == Halves::UpperAndLower;
            std::latch done(1);
            QThreadPool::globalInstance()->start([&] {
                if (byRows)
                    fillColumns(lower, height - cut, 0, width, colour);
                else
                    fillColumns(rows, height, middle, width, colour);
                done.count_down();
            });
            if (byRows)
                fillColumns(rows, cut, 0, width, colour);
            else
                fillColumns(rows, height, 0, middle, colour);
            done.wait();
        }
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}

// The add/subtract lesson's two pies, A′ = n/2 / n and B′ = n/3 / n: their cost follows the
// picture, not the denominator, which the pupil can amplify without limit.
void drawSumPies(benchmark::State& state, int screen, const char* denominator) {
    App& app = appFor(screen);
    const double n = QString::fromLatin1(denominator).toDouble();
    app.button("Command12(0)").setCaption(QString::fromLatin1(denominator));
    app.button("Command12(1)").setCaption(QString::fromLatin1(denominator));
    app.label("Label8(2)").setCaption(QString::number(n / 2, 'f', 0));
    app.label("Label8(3)").setCaption(QString::number(n / 3, 'f', 0));
    rc::PictureBox& picture = app.picture("Picture2");
    for (auto _ : state) {
        app.form().sumLesson().DrawSumPies();
        benchmark::DoNotOptimize(picture.surface().image().constBits());
    }
}

// A pupil's click on the upper half of 1/2 in Picture1: the half turns white, the next click
// turns it blue again. Each click floods the largest sector there is.
void sectorClick(benchmark::State& state, int screen) {
    App& app = appFor(screen);
    app.label("Label1(0)").setCaption("1");
    app.label("Label1(1)").setCaption("2");
    app.form().pies().DrawPies1();
    rc::PictureBox& picture = app.picture("Picture1");
    const int x = picture.ScaleWidth() / 2 + picture.ScaleHeight() / 8;
    const int y = picture.ScaleHeight() / 4;
    for (auto _ : state) {
        picture.mouseDownAt(1, 0, x, y);
        benchmark::DoNotOptimize(picture.surface().image().constBits());
    }
    if (app.label("Label1(0)").Caption() != "1" && app.label("Label1(0)").Caption() != "0")
        state.SkipWithError("the click did not toggle the sector");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    rc::testing::prepareApplication();
    benchmark::Initialize(&argc, argv);
    for (int screen : {1920, 3840}) {
        const std::string size = std::to_string(screen) + "x" + std::to_string(screen * 9 / 16);
        // Everything by the wall clock: circles wholly inside the picture are drawn on two
        // threads.
        benchmark::RegisterBenchmark(("clear/" + size).c_str(), clear, screen)->UseRealTime();
        for (const auto& [name, halves] : {std::pair{"oneThread", Halves::OneThread},
                                           {"leftAndRight", Halves::LeftAndRight},
                                           {"upperAndLower", Halves::UpperAndLower}})
            benchmark::RegisterBenchmark(("clearHalves/" + size + "/" + name).c_str(), clearHalves,
                                         screen, halves)
                ->UseRealTime();
        // One circle cut from two sectors to so many that they are thinner than a pixel (the
        // middle of that range, sectors a few pixels wide, costs the most: 1/410 on the smaller
        // picture, 1/860 on the larger, the dearest of a sweep), and rows of circles.
        const struct {
            const char* numerator;
            const char* denominator;
        } fractions[] = {{"1", "2"},       {"1", "100"},   {"1", "300"},     {"1", "410"},
                         {"1", "700"},     {"1", "860"},   {"1", "1300"},    {"1", "2000"},
                         {"1", "2000000"}, {"2000", "20"}, {"1990", "2000"}, {"1", "10000000"},
                         {"32", "2"}};
        for (const auto& f : fractions)
            benchmark::RegisterBenchmark(
                ("DrawPies/" + size + "/" + f.numerator + "/" + f.denominator).c_str(), drawPies,
                screen, f.numerator, f.denominator)
                ->UseRealTime();
        benchmark::RegisterBenchmark(("sectorClick/" + size).c_str(), sectorClick, screen)
            ->UseRealTime();
        // The sum pies from sectors of a few pixels (365 and 760 sectors, the dearest of a
        // sweep on the smaller and on the larger picture) to thinner than a pixel.
        for (const char* n : {"12", "365", "760", "1200", "120000"})
            benchmark::RegisterBenchmark(("DrawSumPies/" + size + "/" + n).c_str(), drawSumPies,
                                         screen, n)
                ->UseRealTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    apps().clear();
    return 0;
}
