#include "controls/text_file.h"

#include <QSaveFile>
#include <cerrno>

namespace rc {

namespace {
// Why a file could not be written, in the words the program speaks; the system's own words
// for what a pupil's computer rarely does.
QString reasonFor(int error, const QString& system) {
    switch (error) {
        case ENOENT:
            return QStringLiteral("la carpeta no existe");
        case ENOTDIR:
            return QStringLiteral("una parte del camino es un archivo, no una carpeta");
        case EACCES:
        case EPERM:
            return QStringLiteral("no hay permiso para escribir ahí");
        case EROFS:
            return QStringLiteral("el disco es de solo lectura");
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("el disco está lleno");
        case EFBIG:
            return QStringLiteral("el archivo sería demasiado grande");
        case EISDIR:
            return QStringLiteral("ese nombre es el de una carpeta");
        case ENAMETOOLONG:
            return QStringLiteral("el nombre es demasiado largo");
        default:
            return system;
    }
}
}  // namespace

bool writeTextAtomically(const QString& path, const QStringList& lines, QString* error) {
    QByteArray text;
    for (const QString& line : lines) text += line.toUtf8() + '\n';
    QSaveFile file(path);
    // No text mode: every line ends in "\n" on every system. Unbuffered, each write reaches the
    // disk at once and a failing one (a full disk) is seen here with its reason: commit() alone
    // misses a write that fails as it empties a buffer, and puts the cut-off file in place. The
    // system may take part of the text in one write; the next then says why it stopped. The
    // reason is the system's error number of the call that failed, kept before anything else
    // runs.
    errno = 0;
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    int failure = written ? 0 : errno;
    for (qint64 done = 0, n = 0; written && done < text.size(); done += n) {
        written = (n = file.write(text.constData() + done, text.size() - done)) > 0;
        if (!written) failure = errno;
    }
    if (written) {
        errno = 0;
        if (file.commit()) return true;
        failure = errno;
    }
    if (error) *error = reasonFor(failure, file.errorString());
    return false;  // the file goes out of scope uncommitted: its temporary file is removed
}

}  // namespace rc
