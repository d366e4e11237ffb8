#include "testkit.h"

#include "controls/twips.h"

namespace rc::testing {

namespace {
QtMessageHandler defaultHandler = nullptr;
// The offscreen platform cannot raise windows nor grab the keyboard for a popup menu, and says
// so every time; that is not news.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("does not support raise()")) ||
        message.contains(QLatin1String("does not support grabbing")))
        return;
    if (defaultHandler) defaultHandler(type, context, message);
}
}  // namespace

void prepareApplication() {
    if (!defaultHandler) defaultHandler = qInstallMessageHandler(quietHandler);
    installFontSubstitutes();
    twips::setLogicalDpi(96);
}

void tableRows(const char* table) {
    QTest::addColumn<QStringList>("cells");
    for (const QString& line : QString::fromUtf8(table).split('\n', Qt::SkipEmptyParts)) {
        QStringList cells;
        for (QString cell : line.split('|')) {
            cell = cell.trimmed();  // "..." keeps its blanks
            cells << (cell.size() > 1 && cell.startsWith('"') && cell.endsWith('"')
                          ? cell.mid(1, cell.size() - 2)
                          : cell);
        }
        QTest::newRow(qPrintable(cells.takeFirst())) << cells;
    }
}

QList<double> numbersIn(const QString& cell) {
    QList<double> numbers;
    for (const QString& n : cell.split(' ', Qt::SkipEmptyParts)) numbers << n.toDouble();
    return numbers;
}

App::App(ScreenMetrics screen, std::uint64_t seed)
    : random(seed), platform{random, messages, files, screen} {
    twips::setLogicalDpi(screen.logicalDpi);
    form1 = std::make_unique<Form1>(platform);
    form1->endProgram = [this] { ++endRequests; };
    form1->resize(screen.widthPixels, screen.heightPixels - 40);
    form1->show();
    if (!QTest::qWaitForWindowActive(form1.get())) qWarning("the main window is not active");
}

App::~App() = default;

}  // namespace rc::testing
