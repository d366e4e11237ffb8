// The program against the desktop it runs on: the history saved to a file (a full disk, a
// folder gone, a path through a file, a size limit), the real message box, and Qt's own words in
// Spanish whatever the desktop's language.
#include <sys/resource.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <csignal>

#include "controls/language.h"
#include "pupil.h"

using namespace rc;
using namespace rc::testing;

class TestDesktop : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    // "Guardar como…" (the save key here) writes every line as UTF-8, each ending in "\n", or
    // nothing at all: whether the file cannot be made or a write fails midway, the folder holds
    // exactly what it held before, and the teacher is told where and why.
    // the answer to the dialog, in a fresh folder | what the computer does | why it was not
    // saved (empty when it was)
    void saveLines_data() {
        tableRows(R"(
new file                                 | historial.txt         |           |
over an old file                         | old.txt               |           |
cancelled                                |                       |           |
path through a file                      | old.txt/historial.txt |           | una parte del camino es un archivo, no una carpeta
folder removed while the dialog was open | gone/historial.txt    |           | la carpeta no existe
write fails midway                       | old.txt               | limit     | el archivo sería demasiado grande
full disk                                | old.txt               | full disk | el disco está lleno
)");
    }
    void saveLines() {
        QFETCH(QStringList, cells);
        const QString &target = cells[0], &how = cells[1], &reason = cells[2];
        QTemporaryDir dir;
        const QString root = dir.path() + "/";
        if (how == "full disk") {
            // A small disk of its own, as root can mount one; a file fills it but for 100 bytes.
            if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=16k", "tmpfs", root}) != 0)
                QSKIP("no disk of our own to fill: mounting needs root");
        }
        const auto unmount = qScopeGuard([&] {
            if (how == "full disk") QProcess::execute("umount", {root});
        });
        QFile old(root + "old.txt");
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
        old.close();
        if (how == "full disk") {
            QFile filler(root + ".filler");
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const qint64 free = QStorageInfo(root).bytesAvailable();
            QVERIFY(filler.write(QByteArray(free - 100, 'x')) == free - 100);
        }
        QDir(root).mkdir("gone");
        QDir(root).rmdir("gone");
        const auto files = [&] {  // every file in the folder, with its bytes
            QMap<QString, QByteArray> all;
            for (const QString& name : QDir(root).entryList(QDir::Files | QDir::Hidden)) {
                QFile file(root + name);
                all[name] = file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable";
            }
            return all;
        };
        const QByteArray text =
            "3/4 + 1/2 - 2/3 = 7/12 *** MUY BIEN ***\n24/36 = 12/18 = 2/3 =  * MUY BIEN *\n"
            "MULTIPLICACIÓN: 3/4 X 2/5 = 6/20 ** MUY BIEN **\n";
        const bool saved = !target.isEmpty() && reason.isEmpty();
        QMap<QString, QByteArray> expected = files();
        if (saved) expected[target] = text;
        App app;
        const QStringList lines = QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts);
        for (const QString& line : lines) app.form().results().writeLine(line);
        app.form().results().show();
        Form3& window = *app.form().results().window();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        app.files.answer = target.isEmpty() ? QString() : root + target;
        rlimit unlimited{}, limited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        limited = {how == "limit" ? rlim_t(50) : unlimited.rlim_cur, unlimited.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending us
        setrlimit(RLIMIT_FSIZE, &limited);
        QTest::keySequence(&window, QKeySequence::Save);
        setrlimit(RLIMIT_FSIZE, &unlimited);

        QCOMPARE(app.files.asked,
                 QStringList("Guardar el historial | historial.txt | Texto (*.txt)"));
        const QMap<QString, QByteArray> found = files();
        QString shown;
        QDebug(&shown) << found;
        QVERIFY2(found == expected, qPrintable(shown));
        QCOMPARE(Pupil(app).lines(), lines);
        const QStringList told = app.messages.shown;
        QCOMPARE(told, reason.isEmpty() ? QStringList()
                                        : QStringList("No se pudo guardar el historial en «" +
                                                      root + target + "»: " + reason));
    }

    // The real message box: the program's title, the text, one OK button.
    void messageBox() {
        QString seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = box->windowTitle() + "|" + box->text() + "|" +
                   QString::number(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
        });
        QtMessageBoxes().MsgBox("Muy bien");
        QCOMPARE(seen, "Ruedecitas|Muy bien|1");
    }

    // Qt's own words in Spanish, whatever the locale: the box's button, and every word of the
    // save dialog (labels, buttons, tips, the file list's columns, types and menu).
    void qtSpeaksSpanish() {
        QVERIFY(speakSpanish());
        QString button;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            button = box->button(QMessageBox::Ok)->text();
            box->button(QMessageBox::Ok)->click();
        });
        QtMessageBoxes().MsgBox("Muy bien");
        QCOMPARE(button, "Aceptar");

        QTemporaryDir home;
        QVERIFY(QDir(home.path()).mkpath("Documents/clase"));
        QFile notes(home.filePath("Documents/notas.txt"));
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("1/2\n") == 4);
        notes.close();
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        const auto restore = qScopeGuard([&] { qputenv("HOME", oldHome); });
        QStringList words;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* files = dialog->findChild<QTreeView*>();
            QVERIFY(files);
            QVERIFY(
                QTest::qWaitFor([&] { return files->model()->rowCount(files->rootIndex()) == 2; }));
            for (QWidget* w : dialog->findChildren<QWidget*>()) {
                words << w->toolTip() << w->accessibleName() << w->windowTitle();
                if (auto* label = qobject_cast<QLabel*>(w)) words << label->text();
                if (auto* b = qobject_cast<QAbstractButton*>(w)) words << b->text();
                if (auto* box = qobject_cast<QComboBox*>(w))
                    for (int i = 0; i < box->count(); ++i) words << box->itemText(i);
            }
            for (QAction* action : dialog->findChildren<QAction*>()) words << action->text();
            const QAbstractItemModel& model = *files->model();
            for (int c = 0; c < model.columnCount(files->rootIndex()); ++c) {
                words << model.headerData(c, Qt::Horizontal).toString();
                for (int r = 0; r < 2; ++r)
                    words << model.index(r, c, files->rootIndex()).data().toString();
            }
            dialog->reject();
        });
        QVERIFY(QtFileDialogs()
                    .saveFileName("Guardar el historial", "historial.txt", "Texto (*.txt)")
                    .isEmpty());
        QVERIFY2(words.contains("Carpeta") && words.contains("4 bytes"),
                 qPrintable(words.join('|')));
        static const QRegularExpression english(
            "\\b(Look|Files?|Name|Save|Cancel|Detail|View|Folder|Back|Forward|Parent|Directory|"
            "Type|Size|Date|Modified|Open|OK|Drive|Computer|Recent|New|Delete|Rename|Show|"
            "hidden|Create|Go|List|Places|Sidebar|Kind|Yes|Unknown|Shortcut|byte\\(s\\)|"
            "Jan|Feb|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec)\\b");
        for (const QString& word : words)
            QVERIFY2(!english.match(word).hasMatch(), qPrintable(word));
    }
};

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
