#include "controls/numbers.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace rc {

double Val(const QString& text) {
    const std::u16string_view s(reinterpret_cast<const char16_t*>(text.utf16()),
                                static_cast<std::size_t>(text.size()));
    std::size_t i = 0;
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t' || s[i] == u'\n' || s[i] == u'\r')) ++i;
    std::string number;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) number += char(s[i++]);
    auto digit = [&](std::size_t k) { return k < s.size() && s[k] >= u'0' && s[k] <= u'9'; };
    bool anyDigit = false;
    while (digit(i)) number += char(s[i++]), anyDigit = true;
    if (i < s.size() && s[i] == u'.') {
        number += '.';
        ++i;
        while (digit(i)) number += char(s[i++]), anyDigit = true;
    }
    if (!anyDigit) return 0.0;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        std::size_t k = i + 1;
        std::string exponent = "e";
        if (k < s.size() && (s[k] == u'+' || s[k] == u'-')) exponent += char(s[k++]);
        if (digit(k)) {
            while (digit(k)) exponent += char(s[k++]);
            number += exponent;
        }
    }
    double value = std::strtod(number.c_str(), nullptr);
    if (std::isinf(value)) value = std::copysign(DBL_MAX, value);
    if (value == 0.0) value = 0.0;  // no negative zero
    return value;
}

QString Str(double value) {
    if (std::isnan(value)) return QStringLiteral("0");
    if (value == 0.0) return QStringLiteral("0");
    constexpr double exactLimit = 9007199254740992.0;  // 2^53
    if (std::fabs(value) < exactLimit && value == std::trunc(value))
        return QString::number(static_cast<long long>(value));
    if (std::isinf(value)) value = std::copysign(DBL_MAX, value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    // Trim the zeros %G keeps after a decimal point in exponent form ("1.5000E+20").
    const auto e = text.find('E');
    std::string mantissa = text.substr(0, e);
    std::string exponent = e == std::string::npos ? "" : text.substr(e);
    if (mantissa.find('.') != std::string::npos) {
        while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
        if (!mantissa.empty() && mantissa.back() == '.') mantissa.pop_back();
    }
    if (!exponent.empty()) {
        // "E+016" style padding does not occur with glibc, but keep at least one digit.
        std::string sign = exponent.substr(1, 1);
        std::string digits = exponent.substr(2);
        while (digits.size() > 1 && digits.front() == '0') digits.erase(0, 1);
        exponent = "E" + sign + digits;
    }
    return QString::fromStdString(mantissa + exponent);
}

double roundHalfEven(double value) {
    return std::nearbyint(value);
}

long long halved(double value) {
    return static_cast<long long>(roundHalfEven(value)) / 2;
}

}  // namespace rc
