#include "practice/pad_numbers.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdlib>
#include <string>

#include "controls/numbers.h"

namespace rc {

// Whole numbers as text: a sign and the digits of the magnitude, without leading zeros.

namespace {

struct Whole {
    bool negative = false;
    std::string digits = "0";  // most significant first
};

Whole parse(const QString& text) {
    static const QRegularExpression plain(QStringLiteral("^(-?)0*([0-9]+)$"));
    const auto match = plain.match(text);
    if (!match.hasMatch()) {
        // Not one of the pad's own numbers (a design caption): read it the usual way.
        const QString shown = Str(std::trunc(Val(text)));
        return shown.contains(QLatin1Char('E')) ? Whole{} : parse(shown);
    }
    Whole w{match.captured(1) == QLatin1String("-"), match.captured(2).toStdString()};
    if (w.digits == "0") w.negative = false;
    return w;
}

QString text(const Whole& w) {
    return QString::fromStdString((w.negative && w.digits != "0" ? "-" : "") + w.digits);
}

bool lessThan(const std::string& digits, unsigned small) {
    return digits.size() < 10 && std::stoull(digits) < small;
}

// digits + small, digits - small (digits not below small), both of magnitudes.
std::string plus(std::string digits, unsigned small) {
    unsigned long long carry = small;
    for (auto it = digits.rbegin(); it != digits.rend() && carry; ++it) {
        carry += unsigned(*it - '0');
        *it = char('0' + carry % 10);
        carry /= 10;
    }
    if (carry) digits.insert(0, std::to_string(carry));
    return digits;
}
std::string minus(std::string digits, unsigned small) {
    long long borrow = small;
    for (auto it = digits.rbegin(); it != digits.rend() && borrow; ++it) {
        long long d = (*it - '0') - borrow % 10;
        borrow /= 10;
        if (d < 0) d += 10, ++borrow;
        *it = char('0' + d);
    }
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

Whole add(Whole w, long long change) {
    const unsigned size = unsigned(std::llabs(change));
    if (w.digits == "0" || w.negative == (change < 0)) {
        if (w.digits == "0") w.negative = change < 0;
        w.digits = plus(w.digits, size);
    } else if (lessThan(w.digits, size)) {
        w.digits = std::to_string(size - std::stoull(w.digits));
        w.negative = !w.negative;
    } else {
        w.digits = minus(w.digits, size);
    }
    return w;
}

}  // namespace

QString appendDigit(const QString& number, int digit) {
    Whole w = parse(number);
    if (w.digits != "0") w.digits += '0';
    // value · 10 + digit: for a negative value the digit comes off its magnitude.
    return text(add(w, digit));
}

QString addToWhole(const QString& number, int change) {
    return text(add(parse(number), change));
}

}  // namespace rc
