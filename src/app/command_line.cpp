#include "command_line.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

namespace rc {

namespace {
struct Options {
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    Options() {
        parser.setApplicationDescription(QString::fromUtf8(
            "Fracciones para la escuela: ruedas cortadas en sectores, cuatro lecciones,\n"
            "tres ejercicios y un historial de resultados."));
    }
};

QStringList argumentList(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}
}  // namespace

void answerHelpOrVersion(int argc, char* argv[]) {
    Options options;
    if (!options.parser.parse(argumentList(argc, argv))) return;  // maybe Qt's own options
    if (options.parser.isSet(options.help) || options.parser.isSet(options.version)) {
        // A core application is enough for the help's program name, and needs no display.
        QCoreApplication core(argc, argv);
        options.parser.process(core);  // prints, then ends the program
    }
}

bool acceptCommandLine(const QApplication& app) {
    Options options;
    if (!options.parser.parse(app.arguments())) {
        const QByteArray program = QFileInfo(app.arguments().value(0)).fileName().toLocal8Bit();
        std::fprintf(stderr, "%s: %s\nEscribe «%s --help» para ver las opciones.\n",
                     program.constData(), qPrintable(options.parser.errorText()),
                     program.constData());
        return false;
    }
    options.parser.process(app);  // --help-all prints Qt's options too, then ends the program
    return true;
}

}  // namespace rc
