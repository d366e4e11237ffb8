#include "controls/platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <chrono>

#include "controls/widgets.h"

namespace rc {

void endApplication() {
    QCoreApplication::quit();
}

void ClockRandom::Randomize() {
    engine_.seed(fixedSeed_ ? *fixedSeed_
                            : static_cast<std::uint64_t>(
                                  std::chrono::system_clock::now().time_since_epoch().count()));
}

// 53 random bits scaled into [0, 1): never 1.
double ClockRandom::Rnd() {
    return double(engine_() >> 11) * 0x1.0p-53;
}

namespace {
// A modal window belongs to the window the pupil is working in; over an owned tool window (the
// number pad), to the window that owns it, so that the desktop stacks it above both.
QWidget* modalOwner() {
    QWidget* window = QApplication::activeWindow();
    while (window && window->windowType() == Qt::Tool && window->parentWidget())
        window = window->parentWidget()->window();
    return window;
}

// The save dialog's file list writes sizes and dates in the program's language (the desktop's
// own may be another, or none: "7 Dec 2026").
class SpanishFileList : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files) return QIdentityProxyModel::data(index, role);
        const QModelIndex file = mapToSource(index);
        const QLocale language;
        if (index.column() == 1 && !files->isDir(file))
            return language.formattedDataSize(files->size(file));
        if (index.column() == 3)
            return language.toString(files->lastModified(file), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }
};
}  // namespace

void QtMessageBoxes::MsgBox(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(ApplicationTitle), text, QMessageBox::Ok,
                    modalOwner());
    paintHeldClicks();
    box.exec();
}

QString QtFileDialogs::saveFileName(const QString& title, const QString& suggestedName,
                                    const QString& filter) {
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (!folder.exists()) folder = QDir::home();  // not every home has a documents folder
    QFileDialog dialog(modalOwner(), title, folder.filePath(suggestedName), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setProxyModel(new SpanishFileList(&dialog));
    dialog.setDefaultSuffix(QFileInfo(suggestedName).suffix());  // "notas" saves "notas.txt"
    paintHeldClicks();
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
