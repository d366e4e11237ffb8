// The lessons and the exercises as a pupil's stories, each row named after what it catches
// (the words are in pupil.h), and the clicks and drags a story cannot tell. Runs as is and again
// on a display scaled 2x, where the pictures have twice the pixels each way.
#include "pupil.h"

using namespace rc;
using namespace rc::testing;

namespace {
// The lesson opened on a fresh 800 x 600 window, on 1/4.
struct Lesson {
    Lesson() { tell(pupil, {"menu0 d+*2 => fraction=1/4"}); }
    App app;
    Pupil pupil{app};
    PictureBox& picture = app.picture("Picture1");
    Colour at(QPoint p) const { return picture.Point(p.x(), p.y()); }
};

// A story as a named row.
void story(const char* name, const QStringList& steps) {
    QTest::newRow(name) << steps;
}

// A right answer to the add/subtract exercise, checked twice: two lines.
void right(const char* name, const QString& fractions, const QString& operators,
           const QString& multiple, const QString& numerators, const QString& line) {
    story(name, {"sum" + fractions + " menu5 => operators=" + operators,
                 "lists:" + multiple + " set" + numerators +
                     " check => verdict=green green green green green; comprobar=shown",
                 "check => count=2; results=hidden; lines=" + line + " | " + line});
}

// A raw mouse event, as the desktop delivers it, at a point of `widget`.
void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
           Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, {});
    QApplication::sendEvent(widget, &event);
}
}  // namespace

class TestStories : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { prepareApplication(); }

    void stories_data() {
        QTest::addColumn<QStringList>("story");
        // Representación gráfica.
        story("numerator down to 0, a refused press still draws; the picture says each drawing",
              {"menu0 => described1=1 de 2 partes coloreada, en 1 círculo",
               "n+ => fraction=2/2; blue1=2; described1=2 de 2 partes coloreadas, en 1 círculo",
               "n-*2 stain n- => fraction=0/2; stained1=no; white1=2; "
               "described1=0 de 2 partes coloreadas, en 1 círculo"});
        story("denominator between 2 and 150, refused presses draw",
              {"menu0 stain d- => fraction=1/2; stained1=no",
               "d+*148 stain d+ => fraction=1/150; stained1=no", "d- => fraction=1/149"});
        story("16 whole circles stop the numerator's + and the denominator's -",
              {"menu0 n+*31 => fraction=32/2; whole1=16; blue1=32; "
               "described1=32 de 2 partes coloreadas, en 16 círculos",
               "n+ d- => fraction=32/2"});
        story("from 15 circles the denominator's - still goes, to 23",
              {"menu0 d+ n+*46 => fraction=47/3; whole1=15",
               "d- => fraction=47/2; whole1=23; blue1=47; white1=1", "n+ d- => fraction=47/2",
               "d+ n+ => fraction=48/3", "d- n+ => fraction=48/3", "n- => fraction=47/3"});
        // Amplificar and the fraction panel.
        story("design captions until the menu; 1/2 x 1; 1/2 x 3",
              {"=> top=1,1,1,1; bottom=2,1,1,1",
               "menu1 => top=1,1,1 X 1,1; bottom=2,1,2 X 1,2; panel=1/2",
               "x3 => top=1,3,1 X 3,3; bottom=2,3,2 X 3,6; panel=3/6; blue2=3; white2=3"});
        story("base between 0..200 and 2..200; the panel stops at 16 circles",
              {"menu1 x4 a-*2 => top=0,4,0 X 4,0; panel=0/8; blue2=0; white2=8",
               "b- => bottom=2,4,2 X 4,8", "a+*201 b+*199 => panel=800/800",
               "b-*198 x10 => top=200,10,200 X 10,2000; bottom=2,10,2 X 10,20; whole2=100",
               "p+ q- => panel=2000/20"});
        story("the panel's denominator moves the base, not the working",
              {"menu1 b+*18 x10 => panel=10/200", "q+ => panel=10/200",
               "q- => panel=10/199; bottom=199,10,20 X 10,200",
               "menu1 q- b+ b- => bottom=1988,10,1988 X 10,19880"});
        story("the panel's numerator stops at 16 circles, and its denominator's -",
              {"menu1 b+ p+*60 => panel=48/3; whole2=16; blue2=48", "q- => panel=48/3",
               "p- q- => panel=47/2; bottom=2,1,3 X 1,3", "p-*50 => panel=0/2; top=1,1,1 X 1,1"});
        // Simplificar.
        story("16/32 by 2, by 3 refused; the message stays until a division works",
              {"menu2 => steps=", ":2 => steps=16 : 2/32 : 2 = 8/16; panel=8/16; blue2=8; white2=8",
               "stain :3 => steps=; message=shown; panel=8/16; stained2=yes; base=16/32",
               "s+ t- => message=shown; panel=17/31; blue2=17", "t+ s- :2 => message=hidden",
               ":2 => steps=16 : 2/32 : 2 = 8/16", "s+ => steps=; panel=17/32"});
        story("0/32, 17/34 only by 17, 2/2 as one blue disc",
              {"menu2 s-*16 :2 => steps=0 : 2/32 : 2 = 0/16; blue2=0; white2=16",
               "s+*17 t+*2 :13 => message=shown", ":17 => steps=17 : 17/34 : 17 = 1/2; panel=1/2",
               "s-*15 t-*32 :2 => steps=2 : 2/2 : 2 = 1/1; whole2=1; blue2=1; white2=0; "
               "described2=1 de 1 parte coloreada, en 1 círculo"});
        story(
            "refused base presses still put the base in the panel",
            {"menu2 s-*16 :2 stain s- => base=0/32; panel=0/32; stained2=no; steps=0 : 2/32 : 2 = "
             "0/16",
             "t-*31 => base=0/2", "s+*201 t+*199 => base=200/200",
             ":5 stain t+ => panel=200/200; stained2=no; steps=200 : 5/200 : 5 = 40/40"});
        story("the panel is shared; every menu click puts the amplify result back",
              {"menu1 x3 menu2 => panel=3/6", ":3 => message=shown; panel=3/6",
               "menu1 => message=shown", "b- => message=hidden",
               "menu2 :3 menu1 a+ => message=hidden", "menu2 :2 p+ => panel=9/16; blue2=9",
               "q+ => bottom=17,3,2 X 3,6",
               "menu0 => panel=6/51; base=16/32; steps=16 : 2/32 : 2 = 8/16",
               "menu2 s-*14 t-*30 :2 q- => panel=1/1", "q+ => panel=1/2; bottom=2,3,17 X 3,51"});
        // Suma y resta.
        story(
            "1/2 - 1/3 to sixths; Muy bien after every click that leaves both right",
            {"deal1/2,1/3 menu3 => given=1/2 - 1/3; sum=1/2 - 1/3; result=/ hidden; arrows=&; "
             "pies=teal|magenta",
             "A*2 => sum=3/6 - 1/3; arrows= X 3| X 3&; described2=Primera fracción: 3 de 6 partes "
             "coloreadas. Segunda fracción: 1 de 3 partes coloreada",
             "B => sum=3/6 - 2/6; arrows=& X 2| X 2; result=/; pies=blue|blue; colours=green green",
             "r+ R+5 => result=1/5; colours=blue red; muybien=0", "R+ => result=1/6; muybien=1",
             "r+5 r-*5 => result=1/6; muybien=2",
             "B- => sum=3/6 - 1/3; result=/ hidden; pies=teal|magenta",
             "B- => sum=3/6 - 1/3; arrows=& X 1| X 1"});
        story("denominators 2..12, numerators 1 up to the denominator",
              {"random:0,0,0.999999,0.999999 menu3 => given=1/2 + 12/12; pies=teal|magenta",
               "random:0.0909,0.4999,0.0910,0.5 menu3 => given=1/2 + 2/3"});
        story("the operator: plus unless B is smaller",
              {"deal1/3,1/2 menu3 => given=1/3 + 1/2", "deal1/2,2/4 menu3 => given=1/2 + 2/4",
               "deal5/5,12/12 menu3 => given=5/5 + 12/12; pies=teal|magenta"});
        story("same denominators at once; a larger common one is right too",
              {"deal3/7,2/7 menu3 => result=/; pies=blue|blue",
               "r+ R+ R+5 R+ => result=1/7; muybien=1", "A B => sum=6/14 - 4/14",
               "r+*2 R+5*2 R+*4 => result=2/14; muybien=2", "R- => colours=blue red"});
        story("-1 on an unset number; every menu click deals afresh",
              {"deal1/4,3/4 menu3 r- => result=-1/; colours=red green",
               "A*3 deal2/5,1/6 menu3 => sum=2/5 - 1/6; arrows=&; result=/ hidden"});
        // Clicks on the sectors of "Representación gráfica".
        story("a click colours the third sector of 1/4 alone; a drawing puts the blue together",
              {"menu0 d+*2 => sector2=white",
               "tap2 => fraction=2/4; sector0=blue; sector1=white; sector2=blue; sector3=white; "
               "blue1=2; white1=2; described1=2 de 4 partes coloreadas, en 1 círculo",
               "n+ => fraction=3/4; sector0=blue; sector1=blue; sector2=blue; sector3=white",
               "tap1 => fraction=2/4; sector1=white"});
        story("only the left button counts, with or without Shift",
              {"menu0 d+*2 righttap1 => fraction=1/4; sector1=white",
               "middletap1 => fraction=1/4; sector1=white",
               "shifttap1 => fraction=2/4; sector1=blue"});
        story("the whole count is the last drawing's: from 32/2 a click, a refused + that draws",
              {"menu0 n+*31 => sector0@15/16=blue",
               "tap0@15/16 => fraction=31/2; sector0@15/16=white; whole1=16",
               "n+ => fraction=31/2; whole1=15; sector0@15/16=blue; sector1@15/16=white",
               "n+ => fraction=32/2"});
        story("the white sectors of the partial circle of 5/4 turn blue in turn",
              {"menu0 d+*2 n+*4 tap1@1/2 => fraction=6/4; sector1@1/2=blue",
               "tap2@1/2 tap3@1/2 => fraction=8/4; white1=0; whole1=1; "
               "described1=8 de 4 partes coloreadas, en 2 círculos",
               "tap3@0/2 => fraction=7/4; sector3@0/2=white"});
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
        story("numerators 1..10, denominators 3..12, each value a tenth of the draws",
              {"random:0,0,0.999999,0.999999 menu6 => fractions=1/3 10/12",
               "random:0.0999999,0.1,0.8999999,0.9 menu6 => fractions=1/4 9/12"});
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
        story(
            "the pad: five digits by typing, steps of every size without limit, negatives, BORRAR",
            {"menu4 @2 #123456 => pad=12345; F1=12345/?", "@2 #9999 => pad=9999",
             "#9 #+10 #5 => pad=100009", "@3 #-1 #5 => F1=100009/-5", "#3 => pad=-47",
             "#-10 #-5 => pad=-62", "#B => F1=100009/0",
             "#-1 #12345678901234567890 => pad=-87654321098765432110"});
        story(
            "by keyboard: Space on a number opens the pad on its first key, Tab goes round its "
            "keys, Escape comes back; Enter opens the pad again on the key it had",
            {"menu4 tab*6 => focus=@2; F1=?/?", "space => focus=Form2.Command1(1); ink2=blue",
             "space tab space => focus=Form2.Command1(2); F1=12/?", "escape => focus=@2",
             "tab enter => focus=Form2.Command1(2)", "backtab space => F1=12/1"});
        story(
            "the pad typed: digits on both rows, Backspace, Delete and the keypad's + and - "
            "are its keys; Enter puts it away and goes on to the next number, then COMPROBAR",
            {"simplify3,1,0,0,0/2,2,0,0,0 menu4 tab*6 space => focus=Form2.Command1(1)",
             "keys:1 kp2 => F1=12/?; pad=12", "backspace keys:4 => F1=4/?",
             "delete keys:7 => F1=7/?", "keys:++++- kp9 => F1=109/?",
             "backspace keys:12 => F1=12/?", "enter => padwindow=hidden; focus=@3; F1=12/?",
             "keys:5 => F1=12/?", "enter => padwindow=shown; focus=Form2.Command1(1)",
             "keys:18 enter => F1=12/18; focus=check0", "space => link0=blue locked; focus=check1",
             "backtab*2 => focus=@4",
             "enter keys:2 enter enter keys:3 enter => F2=2/3; focus=check1",
             "space => lines=24/36 = 12/18 = 2/3 =  * MUY BIEN *"});
        story(
            "the pad's keys stay its own while it is open over the main window: digits typed "
            "there write, Enter there opens the number it is on; once put away, nothing",
            {"menu4 tab*6 space escape => focus=@2", "keys:34 => F1=34/?; pad=34",
             "tab enter => focus=Form2.Command1(1); padwindow=shown",
             "keys:9 escape => F1=34/9; focus=@3", "menu4 keys:7 => F1=?/?; padwindow=hidden"});
        story("the pad's digits stop at 10000: 9999 takes one more, 10000 and 10001 none",
              {"menu4 @2 #9999 #+1 #7 => pad=10000; F1=10000/?", "#-1 #7 => pad=99997",
               "#B #10001 #3 => pad=10001; F1=10001/?"});
        story("the terms are drawn again above 1000 and below 4, and while they are equal",
              {"simplifyN:1,0,0,0,0 simplifyN:2,0,0,0,0 simplifyD:4,2,0,1,0 "
               "simplifyD:1,2,1,0,1 menu4 => F0=4/990",
               "simplifyN:4,2,0,1,0 simplifyN:1,2,1,0,1 simplifyD:3,3,1,0,0 "
               "simplifyD:2,0,0,0,0 menu4 => F0=990/4",
               "simplifyN:1,1,0,0,0 simplifyD:1,1,0,0,0 simplifyN:1,1,0,0,0 "
               "simplifyD:2,0,0,0,0 menu4 => F0=6/4"});
        story("a new exercise puts the pad away: its keys never write the hidden numbers",
              {"simplify3,1,0,0,0/2,2,0,0,0 menu4 F1=12/18 check0 @5 #3 => F2=?/3; "
               "padwindow=shown",
               "simplify3,1,0,0,0/2,2,0,0,0 menu4 => padwindow=hidden; shown=111100000000",
               "#7 => F2=?/?; F1=?/?", "F1=12/18 check0 => F2=?/?; padwindow=shown",
               "F2=2/3 check1 => lines=24/36 = 12/18 = 2/3 =  * MUY BIEN *"});
        story("another section puts the pad away; the number clicked next is the one written",
              {"menu4 @2 #5 menu8 => padwindow=hidden; F1=5/?", "#7 => F1=5/?",
               "menu4 @3 #4 => F1=?/4; padwindow=shown"});
        story("a given fraction over 0 cannot be simplified, and nothing after it is right",
              {"menu4 F0=8/0 F1=8 check0 => said=Esta fracción no se puede simplificar; ink0=red; "
               "link0=red; ink2=red; errors=-1; count=0; results=none",
               "F1=4/0 check0 => link0=red; count=0; results=none"});
        story("12/18 is not the whole number 12; 0/5 is the whole number 0",
              {"simplify2,1,0,0,0/1,2,0,0,0 menu4 F1=12 check0 => F0=12/18; link0=red; ink2=red; "
               "count=0",
               "menu4 F0=0/5 F1=0 check0 => link0=blue locked; lines=0/5 = 0 =  * MUY BIEN *"});
        story("a link is judged exactly: cross-products 4 apart are wrong, whatever doubles say",
              {"menu4 F0:=-9007199254740790/-6 F1:=-7505999378950659/-5 check0 => "
               "F0=-9007199254740790/-6; F1=-7505999378950659/-5; locked=110000000000; "
               "link0=red; ink2=red; ink3=red; count=0"});
        story("terms past 2^53 that read alike are not equal terms: no message, a wrong link",
              {"menu4 F0:=-4611686018427387904/-4611686018427387903 F1:=0/63 check0 => "
               "said=; link0=red; count=0"});
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
             "e0=9 e3=7 check => verdict=green green green green green; "
             "lines=3/4 + 1/2 - 2/3 = 7/12 *** CON ERRORES ***"});
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
        right("third equal to the sum, though its quotient rounds above it: minus, 0",
              "1/2,1/3,5/6", "- -", "6", "3,2,5,0", "1/2 + 1/3 - 5/6 = 0/6 *** MUY BIEN ***");
        right("eleven, eleven, eleven far down the lists", "10/11,10/11,1/11", "- -", "1331",
              "1210,1210,121,2299", "10/11 + 10/11 - 1/11 = 2299/1331 *** MUY BIEN ***");
    }
    // Each story told to a fresh main window on an 800 x 600 screen.
    void stories() {
        QFETCH(QStringList, story);
        App app;
        Pupil pupil(app);
        tell(pupil, story);
    }

    // The picture's pixels are the display's own: twice as many each way at scale 2, shown
    // one for one, not enlarged.
    void pictureIsCrisp() {
        Lesson lesson;
        QWidget* widget = lesson.picture.widget();
        const double ratio = widget->devicePixelRatioF();
        QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        const QSize inner = widget->size() - QSize(4, 4);
        QCOMPARE(lesson.picture.ScaleWidth(), int(std::lround(inner.width() * ratio)));
        QCOMPARE(lesson.picture.ScaleHeight(), int(std::lround(inner.height() * ratio)));
        QImage shown = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
        shown.setDevicePixelRatio(1);
        const QImage& drawn = lesson.picture.surface().image();
        const int offset = int(PictureBox::border * ratio);
        QCOMPARE(shown.copy(offset, offset, drawn.width(), drawn.height()), drawn);
        // Around it every device pixel is the sunken border's, none left unpainted.
        const QRect picture(offset, offset, drawn.width(), drawn.height());
        const QList<QRgb> border{qRgb(128, 128, 128), qRgb(64, 64, 64), qRgb(255, 255, 255),
                                 qRgb(212, 208, 200)};
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (!picture.contains(x, y)) QVERIFY(border.contains(shown.pixel(x, y)));
    }

    // Clicks on the outlines (a radius, the centre, 0.6 of a pixel left of a sector's first
    // pixel: the pointer rounds to the outline before it) and on the background change
    // nothing; 0.4 left of that pixel rounds to it.
    void clicksBesideTheSectors() {
        Lesson lesson;
        const QImage before = lesson.picture.surface().image().copy();
        const int W = lesson.picture.ScaleWidth(), H = lesson.picture.ScaleHeight();
        const QPoint inside = lesson.pupil.sectorPixel(1);
        int x = inside.x();
        while (lesson.at({x - 1, inside.y()}) != Outline) --x;  // the sector's first pixel
        QCOMPARE(lesson.at({x, inside.y()}), White);
        for (QPoint p : {QPoint(W / 2 + H / 4, H / 2), QPoint(int(std::ceil(W / 2.0)), H / 2)}) {
            QCOMPARE(lesson.at(p), Outline);  // the radius at 3 o'clock, the centre
            lesson.picture.mouseDownAt(1, 0, p.x(), p.y());
        }
        lesson.picture.mouseDownAt(1, 0, x - 0.6, inside.y());
        for (QPoint p : {QPoint(2, 2), QPoint(W - 2, H / 2), QPoint(W / 2, 2)}) {
            QCOMPARE(lesson.at(p), Background);
            lesson.pupil.tap(p);
        }
        tell(lesson.pupil, {"=> fraction=1/4"});
        QCOMPARE(lesson.picture.surface().image(), before);
        lesson.picture.mouseDownAt(1, 0, x - 0.4, inside.y() + 0.4);
        tell(lesson.pupil, {"=> fraction=2/4; sector1=blue"});
    }

    // The pad moves with its background dragged by any button, the point under the pointer
    // staying under it; a drag from a key does not move it.
    void padDrag() {
        App app;
        Pupil pupil(app);
        tell(pupil, {"menu4 @2 #1"});
        Form2& window = *app.form().numberPad().window();
        QWidget* key = window.Command1(5).widget();
        const std::pair<QWidget*, Qt::MouseButton> drags[] = {{&window, Qt::LeftButton},
                                                              {&window, Qt::RightButton},
                                                              {&window, Qt::MiddleButton},
                                                              {key, Qt::RightButton}};
        for (const auto& [widget, button] : drags) {
            // On the background left of the display, or in the key's middle.
            const QPoint grab = widget == key ? key->rect().center() : QPoint(20, 10);
            const QPoint moved = window.pos() + (widget == key ? QPoint() : QPoint(30, 12));
            mouse(widget, QEvent::MouseMove, grab, Qt::NoButton, {});
            mouse(widget, QEvent::MouseButtonPress, grab, button, button);
            mouse(widget, QEvent::MouseMove, grab + QPoint(30, 12), Qt::NoButton, button);
            QCOMPARE(window.pos(), moved);
            mouse(widget, QEvent::MouseMove, grab, Qt::NoButton, button);  // followed
            QCOMPARE(window.pos(), moved);
            mouse(widget, QEvent::MouseButtonRelease, grab, button, {});
        }
    }
};

QTEST_MAIN(TestStories)
#include "test_stories.moc"
