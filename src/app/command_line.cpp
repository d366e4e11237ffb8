#include "command_line.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cmath>
#include <cstdio>
#include <optional>

#include "controls/language.h"

namespace rc {

namespace {
struct Options {
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption scale{QStringLiteral("escala"),
                             QString::fromUtf8("Agranda todo el programa FACTOR veces, de 1 a 4 "
                                               "(por ejemplo 1,5 o 2): para un proyector o una "
                                               "pizarra digital."),
                             QStringLiteral("FACTOR")};
    Options() {
        parser.setApplicationDescription(QString::fromUtf8(
            "Fracciones para la escuela: ruedas cortadas en sectores, cuatro lecciones,\n"
            "tres ejercicios y un historial de resultados."));
        parser.addOption(scale);
    }
};

QStringList argumentList(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

QByteArray programName(const QString& path) {
    return QFileInfo(path).fileName().toLocal8Bit();
}

void refuse(const QByteArray& program, const QString& why) {
    std::fprintf(stderr, "%s: %s\nEscribe «%s --help» para ver las opciones.\n",
                 program.constData(), qPrintable(why), program.constData());
}
// --escala's factor: a number from 1 to 4, with a decimal point or comma ("1,5").
std::optional<double> scaleFactor(QString text) {
    text.replace(QLatin1Char(','), QLatin1Char('.'));  // "1,5" as a Spanish pupil writes it
    bool ok = false;
    const double factor = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(factor) || factor < 1 || factor > 4) return {};
    return factor;
}
}  // namespace

bool prepareCommandLine(int argc, char* argv[]) {
    Options options;
    const QStringList arguments = argumentList(argc, argv);
    // A failed parse may only be Qt's own options: the application answers then, once it has
    // taken them out; --escala is read all the same.
    const bool plain = options.parser.parse(arguments);
    if (plain && (options.parser.isSet(options.help) || options.parser.isSet(options.version))) {
        // A core application is enough for the help's program name, and needs no display.
        QCoreApplication core(argc, argv);
        speakSpanish();
        Options spoken;               // Qt's own option texts, made once its Spanish words are in
        spoken.parser.process(core);  // prints, then ends the program
    }
    if (!options.parser.isSet(options.scale)) return true;
    const QString asked = options.parser.value(options.scale);
    const std::optional<double> factor = scaleFactor(asked);
    if (!factor) {
        refuse(programName(arguments.value(0)),
               asked.isEmpty() ? QString::fromUtf8("a --escala le falta el factor: un número de 1 "
                                                   "a 4, como 1,5 o 2.")
                               : QString::fromUtf8("la escala ha de ser un número de 1 a 4, como "
                                                   "1,5 o 2; «%1» no lo es.")
                                     .arg(asked));
        return false;
    }
    // Qt reads it as the application starts: every window, font and picture grows by it.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(*factor, 'g', 17));
    return true;
}

bool acceptCommandLine(const QApplication& app) {
    Options options;
    if (!options.parser.parse(app.arguments())) {
        refuse(programName(app.arguments().value(0)), options.parser.errorText());
        return false;
    }
    options.parser.process(app);  // --help-all prints Qt's options too, then ends the program
    return true;
}

}  // namespace rc
