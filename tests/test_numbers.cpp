// The caption-to-number rule and the number-to-caption rule the sections compute with.
#include "controls/numbers.h"
#include "testkit.h"

using rc::testing::tableRows;

class TestNumbers : public QObject {
    Q_OBJECT
  private slots:
    // caption | value
    void captionToNumber_data() {
        tableRows(R"(
plain              | 12     | 12
leading blanks     | "   7" | 7
minus              | -1     | -1
plus               | +4     | 4
question mark      | ?      | 0
empty              |        | 0
sign alone         | -      | 0
decimals           | 2.5    | 2.5
leading point      | .25    | 0.25
text after number  | 1 X 3  | 1
letters first      | abc16  | 0
exponent           | 1E+16  | 1e16
lower-case exponent| 25e2   | 2500
E without digits   | 3E     | 3
huge digits        | 123456789012345678901234567890 | 1.2345678901234568e29
beyond double      | 1E+999 | 1.7976931348623157e308
negative beyond    | -1E+999 | -1.7976931348623157e308
negative zero      | -0     | 0
)");
    }
    void captionToNumber() {
        QFETCH(QStringList, cells);
        QCOMPARE(rc::Val(cells[0]), cells[1].toDouble());
    }

    // value | caption
    void numberToText_data() {
        tableRows(R"(
zero                | 0                    | 0
negative zero       | -0                   | 0
whole               | 12                   | 12
negative            | -1                   | -1
half                | 0.5                  | 0.5
largest exact whole | 9007199254740991     | 9007199254740991
beyond exact        | 1e16                 | 1E+16
beyond exact, digits| 1.5e20               | 1.5E+20
tiny                | 1e-20                | 1E-20
third               | 0.333333333333333315 | 0.333333333333333
)");
    }
    void numberToText() {
        QFETCH(QStringList, cells);
        QCOMPARE(rc::Str(cells[0].toDouble()), cells[1]);
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
