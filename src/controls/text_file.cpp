#include "controls/text_file.h"

#include <QSaveFile>

namespace rc {

bool writeTextAtomically(const QString& path, const QStringList& lines, QString* error) {
    QByteArray text;
    for (const QString& line : lines) text += line.toUtf8() + '\n';
    QSaveFile file(path);
    // No text mode: every line ends in "\n" on every system. Unbuffered, each write reaches the
    // disk at once and a failing one (a full disk) is seen here with its reason: commit() alone
    // misses a write that fails as it empties a buffer, and puts the cut-off file in place. The
    // system may take part of the text in one write; the next then says why it stopped.
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qint64 done = 0, n = 0; written && done < text.size(); done += n)
        written = (n = file.write(text.constData() + done, text.size() - done)) > 0;
    if (written && file.commit()) return true;
    if (error) *error = file.errorString();
    return false;  // the file goes out of scope uncommitted: its temporary file is removed
}

}  // namespace rc
