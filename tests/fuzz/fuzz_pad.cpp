// The number pad's whole numbers: every byte is a key, pressed as the pad presses it, on a
// display that starts at "0", beside a whole number of any size kept by the reference.
// Readable keys: the digits, p +1, m -1, P +5, M -5, T +10, t -10, B "BORRAR"; any other byte
// is one of these seventeen keys by its value.
#include <QString>

#include "controls/numbers.h"
#include "practice/pad_numbers.h"
#include "reference.h"

using namespace fuzzref;

namespace {

constexpr int Steps[] = {1, -1, 5, -5, 10, -10};  // the pad's step keys, in its order
constexpr std::string_view StepNames = "pmPMTt";
constexpr int Clear = 16;

// 0..9 a digit, 10..15 a step, 16 "BORRAR".
int keyOf(std::uint8_t byte) {
    if (byte >= '0' && byte <= '9') return byte - '0';
    if (const auto step = StepNames.find(char(byte)); step != std::string_view::npos)
        return 10 + int(step);
    if (byte == 'B') return Clear;
    return byte % 17;
}

bool plainWhole(const std::string& t) {
    const std::size_t from = !t.empty() && t[0] == '-' ? 1 : 0;
    if (from == t.size() || t.find_first_not_of("0123456789", from) != std::string::npos)
        return false;
    return t.size() - from == 1 ? t != "-0" : t[from] != '0';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Thirty-six keys keep every number the pad can make within the reference's 128 bits.
    size = std::min<std::size_t>(size, 36);
    QString display = QStringLiteral("0");
    Wide expected = 0;
    std::string keys;
    for (std::size_t i = 0; i < size; ++i) {
        const int key = keyOf(data[i]);
        if (key < 10) {
            keys += char('0' + key);
            // The pad takes a digit while the number it shows is below 10000.
            const bool taken = rc::Val(display) < 10000;
            FUZZ_REQUIRE(taken == (expected < 10000),
                         "keys: " + keys + "\ndisplay: " + display.toStdString());
            if (!taken) continue;
            display = rc::appendDigit(display, key);
            expected = expected * 10 + key;
        } else if (key < Clear) {
            keys += std::string(" ") + "+-+-+-"[key - 10] +
                    std::to_string(std::abs(Steps[key - 10])) + " ";
            display = rc::addToWhole(display, Steps[key - 10]);
            expected += Steps[key - 10];
        } else {
            keys += " BORRAR ";
            display = QStringLiteral("0");
            expected = 0;
        }
        const std::string shown = display.toStdString();
        FUZZ_REQUIRE(plainWhole(shown) && shown == textOf(expected),
                     "keys: " + keys + "\ndisplay: " + shown + "\nexpected: " + textOf(expected));
    }
    return 0;
}
