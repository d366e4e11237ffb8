#pragma once

#include <QString>
#include <QStringList>

namespace rc {

// Writes `lines` to the file at `path` as UTF-8 text, each line ending in "\n". The file is
// written whole or not at all: the text goes to a temporary file beside it, which takes the
// file's place only once every byte is on disk, so a failure leaves an existing file as it was
// and no partial file behind. On failure returns false and puts the reason in `error`, in
// Spanish for what a pupil's computer does (a missing folder, a full disk, no permission).
bool writeTextAtomically(const QString& path, const QStringList& lines, QString* error = nullptr);

}  // namespace rc
