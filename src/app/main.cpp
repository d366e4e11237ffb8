#include <QApplication>
#include <QScreen>
#include <cstdint>
#include <optional>

#include "command_line.h"
#include "controls/accessible_menus.h"
#include "controls/control.h"
#include "controls/icon.h"
#include "controls/language.h"
#include "controls/platform.h"
#include "controls/twips.h"
#include "shell/form1.h"

namespace {
// A seam for tests that drive the real program from outside: RUEDECITAS_SEED, a whole number,
// seeds the random deals instead of the clock, so that a run can be replayed.
std::optional<std::uint64_t> fixedSeed() {
    bool ok = false;
    const qulonglong seed = qEnvironmentVariable("RUEDECITAS_SEED").toULongLong(&ok);
    return ok ? std::optional<std::uint64_t>(seed) : std::nullopt;
}
}  // namespace

int main(int argc, char* argv[]) {
    QApplication::setApplicationName(QString::fromUtf8(rc::ApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(RUEDECITAS_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(RUEDECITAS_APP_ID));
    if (!rc::prepareCommandLine(argc, argv)) return 2;

    rc::listOpenMenusForScreenReaders();
    QApplication app(argc, argv);
    if (!rc::speakSpanish())
        qWarning(
            "ruedecitas: no se encuentran las traducciones de Qt (qt6-translations-l10n); "
            "los diálogos de Qt saldrán en inglés");
    if (!rc::acceptCommandLine(app)) return 2;
    QApplication::setWindowIcon(rc::programIcon());
    rc::installFontSubstitutes();

    rc::ClockRandom random(fixedSeed());
    rc::QtMessageBoxes messages;
    rc::QtFileDialogs files;
    rc::Platform platform{random, messages, files, rc::primaryScreen()};
    rc::twips::setLogicalDpi(platform.screen.logicalDpi);

    rc::Form1 form1(platform);
    // Cover the screen even where no window manager acts on the request to maximise.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form1.setGeometry(screen->availableGeometry());
    form1.showMaximized();
    return app.exec();
}
