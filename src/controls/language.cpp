#include "controls/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstring>

namespace rc {

namespace {

// Words of Qt's save dialog and command line that its Spanish translation leaves in English
// (or mistyped).
struct Word {
    const char* context;
    const char* english;
    const char* spanish;
};
constexpr Word MissingWords[] = {
    {"QAbstractFileIconProvider", "Drive", "Unidad"},
    {"QAbstractFileIconProvider", "Folder", "Carpeta"},
    {"QAbstractFileIconProvider", "File Folder", "Carpeta"},
    {"QAbstractFileIconProvider", "Alias", "Alias"},
    {"QAbstractFileIconProvider", "Shortcut", "Acceso directo"},
    {"QAbstractFileIconProvider", "%1 File", "Archivo %1"},
    {"QAbstractFileIconProvider", "File", "Archivo"},
    {"QFileDialog", "Go to the parent directory", "Ir al directorio superior"},
    {"QFileSystemModel", "%1 byte(s)", "%1 bytes"},
    {"QCommandLineParser", "Displays help on commandline options.",
     "Muestra la ayuda de las opciones de la línea de órdenes."},
    {"QCommandLineParser", "Displays help including Qt specific options.",
     "Muestra la ayuda con las opciones propias de Qt."},
};

class ProgramWords : public QTranslator {
  public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (!context || !source) return {};
        for (const Word& word : MissingWords)
            if (std::strcmp(word.context, context) == 0 && std::strcmp(word.english, source) == 0)
                return QString::fromUtf8(word.spanish);
        return {};
    }
};

}  // namespace

bool speakSpanish() {
    const QLocale spanish(QLocale::Spanish, QLocale::Spain);
    QLocale::setDefault(spanish);
    auto* qt = new QTranslator(QCoreApplication::instance());
    const bool found = qt->load(spanish, QStringLiteral("qtbase"), QStringLiteral("_"),
                                QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (found) QCoreApplication::installTranslator(qt);
    // Installed last, asked first.
    QCoreApplication::installTranslator(new ProgramWords(QCoreApplication::instance()));
    return found;
}

}  // namespace rc
