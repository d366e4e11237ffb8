// Writes the program's icon as a hicolor icon theme holds it, for installing:
//   icons FOLDER NAME SIZE...
// makes FOLDER/SIZExSIZE/apps/NAME.png for every size and FOLDER/scalable/apps/NAME.svg.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

#include "controls/icon.h"

namespace {
bool write(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}
}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: icons FOLDER NAME SIZE...\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    bool ok = write(folder + "/scalable/apps/" + name + ".svg", rc::programIconSvg());
    for (int i = 3; i < argc && ok; ++i) {
        const int size = std::atoi(argv[i]);
        const QString path = QStringLiteral("%1/%2x%2/apps/%3.png").arg(folder).arg(size).arg(name);
        ok = size > 0 && QDir().mkpath(QFileInfo(path).path()) &&
             rc::programIconImage(size).save(path, "PNG");
    }
    if (!ok) std::fprintf(stderr, "icons: cannot write the icons in %s\n", argv[1]);
    return ok ? 0 : 1;
}
