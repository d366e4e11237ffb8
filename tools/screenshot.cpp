// Renders the main window offscreen at a given screen size, one PNG per section:
//   screenshot [width height [output-folder [scale]]]
// The window takes the whole screen, as it does when it opens maximised.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "controls/control.h"
#include "controls/icon.h"
#include "controls/platform.h"
#include "controls/twips.h"
#include "practice/number_pad.h"
#include "results/results_history.h"
#include "shell/form1.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 4) qputenv("QT_SCALE_FACTOR", argv[4]);
    QApplication app(argc, argv);
    QApplication::setWindowIcon(rc::programIcon());
    rc::installFontSubstitutes();

    const int width = argc > 2 ? std::atoi(argv[1]) : 1280;
    const int height = argc > 2 ? std::atoi(argv[2]) : 800;
    const QString folder =
        argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("screenshots-out");
    QDir().mkpath(folder);

    rc::ClockRandom random;
    rc::QtMessageBoxes messages;
    rc::QtFileDialogs files;
    rc::Platform platform{random, messages, files, rc::ScreenMetrics{width, height, 96}};
    rc::twips::setLogicalDpi(96);
    rc::Form1 form(platform);
    form.resize(width, height);
    form.show();
    QApplication::processEvents();

    auto save = [&](const QString& name) {
        QApplication::processEvents();
        const QString path = folder + "/" + name + ".png";
        if (!form.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        std::printf("%s\n", qPrintable(path));
    };
    save(QStringLiteral("start"));
    for (int section : {8, 0, 1, 2, 3, 4, 5, 6, 7}) {
        form.Command1_Click(section);
        save(QStringLiteral("section-%1").arg(section));
    }
    // The number pad over the simplify exercise, and the results window with two lines.
    form.Command1_Click(4);
    form.numberPad().openFor(2);
    form.results().writeLine(QStringLiteral("24/36 = 12/18 = 2/3 =  * MUY BIEN *"));
    form.results().writeLine(QStringLiteral("3/4 X 2/5 = 6/20 ** CON ERRORES **"));
    form.results().show();
    QApplication::processEvents();
    for (auto [name, window] : {std::pair<const char*, QWidget*>{"pad", form.numberPad().window()},
                                {"results", form.results().window()}}) {
        const QString path = folder + "/" + name + ".png";
        if (!window->grab().save(path)) return 1;
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
