#include <QTest>
#include <cfloat>

#include "controls/numbers.h"

using rc::Str;
using rc::Val;

class TestNumbers : public QObject {
    Q_OBJECT
  private slots:
    void captionToNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12" << 12.0;
        QTest::newRow("leading blanks") << "   7" << 7.0;
        QTest::newRow("minus") << "-1" << -1.0;
        QTest::newRow("plus") << "+4" << 4.0;
        QTest::newRow("question mark") << "?" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("decimals") << "2.5" << 2.5;
        QTest::newRow("leading point") << ".25" << 0.25;
        QTest::newRow("text after number") << "1 X 3" << 1.0;
        QTest::newRow("letters first") << "abc16" << 0.0;
        QTest::newRow("exponent") << "1E+16" << 1e16;
        QTest::newRow("lower-case exponent") << "25e2" << 2500.0;
        QTest::newRow("E without digits") << "3E" << 3.0;
        QTest::newRow("huge digits") << "123456789012345678901234567890" << 1.2345678901234568e29;
        QTest::newRow("beyond double") << "1E+999" << DBL_MAX;
        QTest::newRow("negative beyond double") << "-1E+999" << -DBL_MAX;
        QTest::newRow("negative zero") << "-0" << 0.0;
    }
    void captionToNumber() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Val(text), value);
    }

    void numberToText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("whole") << 12.0 << "12";
        QTest::newRow("negative") << -1.0 << "-1";
        QTest::newRow("half") << 0.5 << "0.5";
        QTest::newRow("largest exact whole") << 9007199254740991.0 << "9007199254740991";
        QTest::newRow("beyond exact") << 1e16 << "1E+16";
        QTest::newRow("beyond exact, digits") << 1.5e20 << "1.5E+20";
        QTest::newRow("tiny") << 1e-20 << "1E-20";
        QTest::newRow("third") << 1.0 / 3.0 << "0.333333333333333";
    }
    void numberToText() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(Str(value), text);
    }

    void halving() {
        QCOMPARE(rc::halved(3100), 1550LL);
        QCOMPARE(rc::halved(2655), 1327LL);
        QCOMPARE(rc::halved(-1220), -610LL);
        QCOMPARE(rc::halved(-1221), -610LL);  // truncation toward zero
        QCOMPARE(rc::halved(2.5), 1LL);       // 2.5 rounds to 2 (even), then halves
        QCOMPARE(rc::halved(3.5), 2LL);       // 3.5 rounds to 4
        QCOMPARE(rc::halved(-3.5), -2LL);
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "test_numbers.moc"
