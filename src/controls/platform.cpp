#include "controls/platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <chrono>

namespace rc {

void endApplication() {
    QCoreApplication::quit();
}

void ClockRandom::Randomize() {
    engine_.seed(
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

// 53 random bits scaled into [0, 1): never 1.
double ClockRandom::Rnd() {
    return double(engine_() >> 11) * 0x1.0p-53;
}

void QtMessageBoxes::MsgBox(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(ApplicationTitle), text,
                    QMessageBox::Ok);
    box.exec();
}

QString QtFileDialogs::saveFileName(const QString& title, const QString& suggestedName,
                                    const QString& filter) {
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (!folder.exists()) folder = QDir::home();  // not every home has a documents folder
    QFileDialog dialog(QApplication::activeWindow(), title, folder.filePath(suggestedName), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QFileInfo(suggestedName).suffix());  // "notas" saves "notas.txt"
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

ScreenMetrics primaryScreen() {
    ScreenMetrics metrics;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        metrics.widthPixels = screen->size().width();
        metrics.heightPixels = screen->size().height();
        if (screen->logicalDotsPerInch() > 0) metrics.logicalDpi = screen->logicalDotsPerInch();
    }
    return metrics;
}

}  // namespace rc
