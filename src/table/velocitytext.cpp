#include "table/velocitytext.h"

#include "runtime/asciitext.h"
#include "runtime/decimalseparator.h"
#include "runtime/numberformat.h"
#include "table/velocity.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace table {

namespace {

constexpr unsigned kMicrometresPerFootTenth = 3048; // 1 ft = 0,3048 m: 3048 x 10^-4
constexpr int kAllDigits = 15;
// Longer digit strings are no velocity a device recorded; they are not worth the arithmetic.
constexpr std::size_t kMaxDigits = 40;

// A decimal number as its digits: -<whole>,<fraction>.
struct Digits {
    bool negative = false;
    std::string whole;
    std::string fraction;
    bool separator = false;
};

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), rt::isAsciiDigit);
}

std::optional<Digits> parse(std::string_view text)
{
    Digits d;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        d.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t separator = separatorAt(text);
    d.separator = separator != std::string_view::npos;
    const std::string_view whole = text.substr(0, separator);
    const std::string_view fraction = d.separator ? text.substr(separator + 1) : std::string_view();
    if (whole.empty() || !allDigits(whole) || !allDigits(fraction) ||
        (d.separator && fraction.empty()) || whole.size() + fraction.size() > kMaxDigits)
        return std::nullopt;
    d.whole = whole;
    d.fraction = fraction;
    return d;
}

void trimZeros(Digits& d)
{
    while (!d.fraction.empty() && d.fraction.back() == '0')
        d.fraction.pop_back();
    const std::size_t first = d.whole.find_first_not_of('0');
    d.whole.erase(0, std::min(first, d.whole.size() - 1));
}

bool isZero(const Digits& d)
{
    return d.whole.find_first_not_of('0') == std::string::npos &&
           d.fraction.find_first_not_of('0') == std::string::npos;
}

std::string text(const Digits& d)
{
    std::string t;
    if (d.negative && !isZero(d))
        t += '-';
    t += d.whole;
    if (!d.fraction.empty()) {
        t += rt::decimalSeparator();
        t += d.fraction;
    }
    return t;
}

// `digits` x factor, as digits.
std::string times(const std::string& digits, unsigned factor)
{
    std::string product(digits.size(), '0');
    unsigned carry = 0;
    for (std::size_t i = digits.size(); i-- > 0;) {
        const unsigned v = static_cast<unsigned>(digits[i] - '0') * factor + carry;
        product[i] = static_cast<char>('0' + v % 10);
        carry = v / 10;
    }
    for (; carry > 0; carry /= 10)
        product.insert(product.begin(), static_cast<char>('0' + carry % 10));
    return product;
}

// `digits` / divisor when it divides them exactly.
std::optional<std::string> dividedExactly(const std::string& digits, unsigned divisor)
{
    std::string quotient;
    unsigned remainder = 0;
    for (const char c : digits) {
        const unsigned v = remainder * 10 + static_cast<unsigned>(c - '0');
        quotient += static_cast<char>('0' + v / divisor);
        remainder = v % divisor;
    }
    if (remainder != 0)
        return std::nullopt;
    return quotient;
}

// The digits scaled down by 10^decimals, as a number.
Digits scaled(bool negative, std::string digits, std::size_t decimals)
{
    if (digits.size() <= decimals)
        digits.insert(0, decimals - digits.size() + 1, '0');
    Digits d;
    d.negative = negative;
    d.whole = digits.substr(0, digits.size() - decimals);
    d.fraction = digits.substr(digits.size() - decimals);
    trimZeros(d);
    return d;
}

std::optional<Digits> recordedFeet(std::string_view stored)
{
    std::optional<Digits> d = parse(stored);
    if (!d)
        return std::nullopt;
    trimZeros(*d);
    // Hundredths of a foot: metres x 10^6 / 3048.
    constexpr std::size_t kScale = 6;
    if (d->fraction.size() > kScale)
        return std::nullopt;
    std::string micro = d->whole + d->fraction;
    micro.append(kScale - d->fraction.size(), '0');
    const std::optional<std::string> hundredths = dividedExactly(micro, kMicrometresPerFootTenth);
    if (!hundredths)
        return std::nullopt;
    return scaled(d->negative, *hundredths, 2);
}

// The decimals of the ft/s value a number is exactly, without building its digits where they
// fit a machine word, as a table of radar velocities does on every open.
std::optional<int> feetDecimals(const Digits& d)
{
    std::size_t decimals = d.fraction.size();
    while (decimals > 0 && d.fraction[decimals - 1] == '0')
        --decimals;
    if (decimals > 6)
        return std::nullopt;
    if (d.whole.size() + decimals > 12) {
        const std::optional<Digits> feet = recordedFeet(text(d));
        return feet ? std::optional<int>(static_cast<int>(feet->fraction.size())) : std::nullopt;
    }
    std::uint64_t micro = 0;
    for (const char c : d.whole)
        micro = micro * 10 + static_cast<std::uint64_t>(c - '0');
    for (std::size_t i = 0; i < 6; ++i)
        micro = micro * 10 + (i < decimals ? static_cast<std::uint64_t>(d.fraction[i] - '0') : 0);
    if (micro % kMicrometresPerFootTenth != 0)
        return std::nullopt;
    const std::uint64_t hundredths = micro / kMicrometresPerFootTenth;
    return hundredths % 100 == 0 ? 0 : hundredths % 10 == 0 ? 1 : 2;
}

// Rounded half away from zero, or padded, to `decimals`.
std::string withDecimals(Digits d, int decimals)
{
    const std::size_t keep = static_cast<std::size_t>(std::max(decimals, 0));
    if (d.fraction.size() > keep) {
        const bool up = d.fraction[keep] >= '5';
        d.fraction.resize(keep);
        if (up) {
            std::string all = d.whole + d.fraction;
            std::size_t i = all.size();
            while (i > 0 && all[i - 1] == '9')
                all[--i] = '0';
            if (i == 0)
                all.insert(all.begin(), '1');
            else
                ++all[i - 1];
            d.whole = all.substr(0, all.size() - keep);
            d.fraction = all.substr(all.size() - keep);
        }
    }
    d.fraction.append(keep - d.fraction.size(), '0');
    return text(d);
}

} // namespace

std::optional<std::string> storedMetresPerSecond(std::string_view recorded, bool feetPerSecond)
{
    std::optional<Digits> d = parse(recorded);
    if (!d)
        return std::nullopt;
    if (!feetPerSecond) {
        trimZeros(*d);
        return text(*d);
    }
    return text(scaled(d->negative, times(d->whole + d->fraction, kMicrometresPerFootTenth),
                       d->fraction.size() + 4));
}

std::optional<std::string> recordedFeetPerSecond(std::string_view stored)
{
    const std::optional<Digits> feet = recordedFeet(stored);
    return feet ? std::optional<std::string>(text(*feet)) : std::nullopt;
}

int velocityDecimals(std::string_view stored)
{
    std::optional<Digits> d = parse(stored);
    if (!d || !parseVelocity(stored))
        return 0;
    trimZeros(*d);
    return static_cast<int>(d->fraction.size());
}

int velocityDecimalsNeeded(std::string_view stored, Units units)
{
    // Whole texts, every download among them, need no decimals in either unit: a whole m/s
    // value that is a ft/s value with two decimals is 381·q m/s = 1250·q ft/s.
    if (separatorAt(stored) == std::string_view::npos || !parseVelocity(stored))
        return 0;
    std::optional<Digits> d = parse(stored);
    if (!d)
        return 0;
    if (units == Units::Imperial) {
        if (const std::optional<int> decimals = feetDecimals(*d))
            return *decimals;
        return 1;
    }
    return std::min(velocityDecimals(stored), kMaxShownVelocityDecimals);
}

std::string velocityShown(std::string_view stored, double value, Units units, int decimals)
{
    const std::optional<Digits> d = std::isnan(value) ? std::nullopt : parse(stored);
    if (!d)
        return std::string(stored);
    if (units == Units::Metric)
        return !d->separator && decimals == 0 ? std::string(stored) : withDecimals(*d, decimals);
    if (const std::optional<Digits> feet = recordedFeet(stored))
        return withDecimals(*feet, decimals);
    return rt::formatFloat(feetPerSecond(value), rt::FloatFormat::Fixed, kAllDigits, decimals);
}

} // namespace table
