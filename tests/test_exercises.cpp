// The three exercises as a pupil's stories: dealt exercises, the number pad, the checks with
// their colours as painted, the locks, and the lines of the results history.
#include "pupil.h"

using namespace rc::testing;

namespace {
// A right answer to the add/subtract exercise, checked twice: two lines.
void right(const char* name, const QString& fractions, const QString& operators,
           const QString& multiple, const QString& numerators, const QString& line) {
    story(name, {"sum" + fractions + " menu5 => operators=" + operators,
                 "lists:" + multiple + " set" + numerators +
                     " check => verdict=green green green green green; comprobar=shown",
                 "check => count=2; results=hidden; lines=" + line + " | " + line});
}
const QString Green5 = "verdict=green green green green green";

// A raw mouse event, as the desktop delivers it, at a point of `widget`.
void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
           Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, {});
    QApplication::sendEvent(widget, &event);
}
}  // namespace

class TestExercises : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    void stories_data() {
        storyColumn();
        // MULTIPLICACIÓN Y DIVISIÓN.
        story("3/4 X 2/5: empty is wrong, a press clears, every right check is a line",
              {"product3/4,2/5 menu6 => fractions=3/4 2/5; answer=/; sign=X",
               "check => verdict=red red red; errors=-1", "N => verdict=face face face",
               "N+5 D+5*4 check => answer=6/20; verdict=green green green",
               "check => count=2; lines=3/4 X 2/5 = 6/20 ** CON ERRORES ** | 3/4 X 2/5 = 6/20 ** "
               "CON ERRORES **",
               "D-*21 check => answer=6/-1; verdict=green red red; count=2"});
        story("division crosses the terms; the choice stays for the next exercise",
              {"menu6 divide => sign=:", "product3/4,2/5 menu6 => sign=:; errors=0",
               "N- => answer=-1/",
               "N+5*3 N D+5 D*3 check => answer=15/8; lines=3/4 : 2/5 = 15/8 ** MUY BIEN **",
               "multiply => fractions=3/4 2/5; sign=X", "check => verdict=red red red"});
        story("numerators 1..10, denominators 3..12",
              {"random:0,0,0.999999,0.999999 menu6 => fractions=1/3 10/12"});
        story("the history counts past 32767; lines go to the bottom of an open window",
              {"historial history:=32767 product1/3,1/3 menu6 N check D+5 D*4 check => "
               "lines=1/3 X 1/3 = 1/9 ** CON ERRORES **",
               "check => count=32769; lines=1/3 X 1/3 = 1/9 ** CON ERRORES ** | 1/3 X 1/3 = 1/9 ** "
               "CON ERRORES **"});
        // SIMPLIFICA and the number pad.
        story("24/36 = 12/18 = 2/3, each number written with the pad",
              {"simplify3,1,0,0,0/2,2,0,0,0 menu4 => F0=24/36; F1=?/?; shown=111100000000; "
               "link0=white; link1=hidden",
               "F1=12/18 => pad=18; ink3=blue",
               "check0 => locked=111100000000; ink0=blue; ink1=blue; ink2=blue; ink3=blue; "
               "link0=blue locked; shown=111111000000; eq2=yes; bar2=yes; link1=white; "
               "link2=hidden; count=0",
               "F2=2/3 check1 => lines=24/36 = 12/18 = 2/3 =  * MUY BIEN *; results=hidden; "
               "link1=blue locked; locked=111111000000; link2=hidden"});
        story("nothing written is a refused whole number; 8/4 = 2/1 = 2 drops to the bars",
              {"simplify3,0,0,0,0/2,0,0,0,0 menu4 check0 => link0=red; ink2=red; ink0=blue; "
               "locked=110000000000; errors=-1",
               "F1=2/1 check0 => link0=blue locked; shown=111110000000; eq2=yes; bar2=no; top4=480",
               "F2=2 check1 => top4=780; locked=111110000000; lines=8/4 = 2/1 = 2 =  * CON "
               "ERRORES *",
               "menu4 => top4=480; errors=0; locked=000000000000; shown=111100000000; F1=?/?; "
               "F2=?/?; F3=?/?; F4=?/?; F5=?/?; link0=white; link1=hidden"});
        story(
            "F0 is the pupil's until the first check: 6/6 a message only; 5/7 red, judged",
            {"menu4 F0=6/6 check0 => said=Numerador y denominador han de tener distinto número; "
             "link0=white; errors=0",
             "F0=5/7 F1=10/14 check0 => said=Numerador y denominador han de tener distinto número "
             "| Esta fracción no se puede simplificar; ink0=red; locked=001100000000; link0=blue "
             "locked"});
        story("five accepted links still simplifiable end without a line",
              {"menu4 F0=64/128 F1=32/64 check0 F2=16/32 check1 F3=8/16 check2 F4=4/8 check3 "
               "F5=2/4 check4 => F5=2/4; link3=blue locked; link4=blue locked; count=0; "
               "results=none"});
        story("the pad: five digits by typing, steps without limit, negatives, BORRAR",
              {"menu4 @2 #123456 => pad=12345; F1=12345/?", "@2 #9999 => pad=9999",
               "#9 #+10 #5 => pad=100009", "@3 #-1 #5 => F1=100009/-5", "#3 => pad=-47",
               "#B => F1=100009/0", "#-1 #12345678901234567890 => pad=-87654321098765432110"});
        story(
            "by keyboard: Space on a number opens the pad on its first key, Tab goes round its "
            "keys, Escape comes back; Enter opens the pad again on the key it had",
            {"menu4 tab*6 => focus=@2; F1=?/?", "space => focus=Form2.Command1(1); ink2=blue",
             "space tab enter => focus=Form2.Command1(2); F1=12/?", "escape => focus=@2",
             "tab enter => focus=Form2.Command1(2)", "backtab space => F1=12/1"});
        story("an accepted number stays: the pad's keys leave it and the display alone",
              {"simplify3,1,0,0,0/2,2,0,0,0 menu4 F1=12/18 check0 #7 #+10 #B => F1=12/18; pad=18",
               "@4 #2 => F2=2/?"});
        // SUMA Y RESTA.
        story("multiples below the product plus 30; a new exercise empties the lists",
              {"sum1/4,1/2,1/3 menu5 => multiples0=4x13; multiples1=2x26; multiples2=3x17",
               "list0:52 sum1/11,1/11,1/11 menu5 => multiples0=11x123; multiples2=11x123; "
               "selected0=",
               "sum1/2,1/3,1/5 menu5 => multiples0=2x29; multiples1=3x19; multiples2=5x11"});
        story(
            "a new exercise clears numbers, common denominators, colours, errors; not the working",
            {"random:0,0,0.999999,0.999999,0,0.999999 menu5 => fractions=1/2 10/11 1/11",
             "lists:22 set11,20,2,33 check => errors=-1",
             "sum3/4,1/2,2/3 menu5 => numerators=,,,; common=,,,; comprobar=hidden; errors=0; "
             "working0=2 X 11 = 22; working2=11 X 2 = 22",
             "lists:12 set9,6,8,7 => verdict=face face face face face"});
        story("COMPROBAR needs one multiple in all three lists and all four numerators",
              {"sum3/4,1/2,2/3 menu5 set9,6,8,7 list0:12 list1:12 => common=,,,",
               "e3+ => comprobar=hidden",
               "list2:12 => common=12,12,12,12; comprobar=shown; working0=4 X 3 = 12; working1=2 X "
               "6 = 12; working2=3 X 4 = 12",
               "sum3/4,1/2,2/3 menu5 lists:24 e0=18 e1=12 e2=16 => comprobar=hidden",
               "e3- => numerators=18,12,16,-1; comprobar=shown"});
        story("lists that stop agreeing take COMPROBAR away until they agree again",
              {"sum3/4,1/2,2/3 menu5 lists:12 set9,6,8,7 => comprobar=shown",
               "list1:8 => common=,,,; working1=2 X 4 = 8; comprobar=hidden",
               "e3+ e3- => comprobar=hidden", "lists:24 => common=24,24,24,24; comprobar=shown",
               "check => verdict=red red red red red",
               "set18,12,16,14 check => lines=3/4 + 1/2 - 2/3 = 14/24 *** CON ERRORES ***"});
        story(
            "a wrong check marks the wrong numbers; a press clears its own colour only",
            {"sum3/4,1/2,2/3 menu5 lists:12 set9,6,8,23 check => verdict=green green green red "
             "red; errors=-1; lines=",
             "e0+ => verdict=face green green red red", "check => verdict=red green green red red",
             "e0=9 e3=7 check => " + Green5 +
                 "; lines=3/4 + 1/2 - 2/3 = 7/12 *** CON ERRORES ***"});
        story("the keyboard finds entries: typing, arrows, End",
              {"sum1/11,1/11,1/11 menu5 type0:132 => selected0=132; working0=11 X 12 = 132",
               "type1:13 key1:down key1:up => selected1=132",
               "key2:down => working2=11 X 1 = 11; common=,,,",
               "type2:132 => common=132,132,132,132", "set12,12,12,12 => comprobar=shown",
               "key2:down => working2=11 X 13 = 143; comprobar=hidden",
               "key2:end => working2=11 X 123 = 1353"});
        right("third smaller than the sum: minus", "3/4,1/2,2/3", "- -", "12", "9,6,8,7",
              "3/4 + 1/2 - 2/3 = 7/12 *** MUY BIEN ***");
        right("third larger than the sum: plus", "1/4,1/4,9/10", "+ +", "20", "5,5,18,28",
              "1/4 + 1/4 + 9/10 = 28/20 *** MUY BIEN ***");
        right("third equal to the sum: minus, and 0", "1/2,1/4,3/4", "- -", "4", "2,1,3,0",
              "1/2 + 1/4 - 3/4 = 0/4 *** MUY BIEN ***");
        right("eleven, eleven, eleven far down the lists", "10/11,10/11,1/11", "- -", "1331",
              "1210,1210,121,2299", "10/11 + 10/11 - 1/11 = 2299/1331 *** MUY BIEN ***");
    }
    void stories() { tellTheStory(); }

    // The pad moves with its background dragged by any button, the point under the pointer
    // staying under it; a drag from a key does not move it.
    void padDrag() {
        App app;
        Pupil pupil(app);
        tell(pupil, {"menu4 @2 #1"});
        rc::Form2& window = *app.form().numberPad().window();
        const QPoint grab(20, 10);  // background, left of the display
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            const QPoint before = window.pos();
            mouse(&window, QEvent::MouseMove, grab, Qt::NoButton, {});
            mouse(&window, QEvent::MouseButtonPress, grab, button, button);
            mouse(&window, QEvent::MouseMove, grab + QPoint(30, 12), Qt::NoButton, button);
            QCOMPARE(window.pos(), before + QPoint(30, 12));
            mouse(&window, QEvent::MouseMove, grab, Qt::NoButton, button);  // followed
            QCOMPARE(window.pos(), before + QPoint(30, 12));
            mouse(&window, QEvent::MouseButtonRelease, grab, button, {});
        }
        const QPoint after = window.pos();
        QWidget* key = window.Command1(5).widget();
        const QPoint onKey = key->rect().center();
        mouse(key, QEvent::MouseMove, onKey, Qt::NoButton, {});
        mouse(key, QEvent::MouseButtonPress, onKey, Qt::RightButton, Qt::RightButton);
        mouse(key, QEvent::MouseMove, onKey + QPoint(40, 0), Qt::NoButton, Qt::RightButton);
        mouse(key, QEvent::MouseButtonRelease, onKey + QPoint(40, 0), Qt::RightButton, {});
        QCOMPARE(window.pos(), after);
    }
};

QTEST_MAIN(TestExercises)
#include "test_exercises.moc"
