#include "calc/number_text.h"

#include <cmath>
#include <cstdint>

#include "calc/big_natural.h"

namespace paginor::calc {
namespace {

// Both directions work on the exact binary value with integer arithmetic, so the texts
// are correctly rounded and the same on every platform with 80-bit long double,
// whatever the C locale says.

constexpr int kMantissaBits = 64;
constexpr int kLowestUlpExponent = -16445;  // the smallest subnormal is 2^-16445
// Enough to decide any rounding: halfway points between long doubles have fewer
// significant digits than this. Digits past it only matter as "something non-zero".
constexpr std::size_t kMaxDigits = 12000;

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct DecimalText {
  bool negative = false;
  std::string digits;     // significant digits, no leading or trailing zeros
  std::int64_t exponent = 0;  // value = digits × 10^exponent
};

std::optional<DecimalText> ReadDecimal(std::string_view text) {
  DecimalText number;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    number.negative = text[i] == '-';
    ++i;
  }
  std::string digits;
  std::int64_t fraction_digits = 0;
  bool seen_point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      digits.push_back(c);
      fraction_digits += seen_point ? 1 : 0;
    } else if ((c == '.' || c == ',') && !seen_point) {
      seen_point = true;
    } else {
      break;
    }
  }
  if (digits.empty()) {
    return std::nullopt;
  }
  std::int64_t exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative_exponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      negative_exponent = text[i] == '-';
      ++i;
    }
    const std::size_t first = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      // Saturates far beyond any exponent a long double can hold.
      exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), 1'000'000'000'000);
    }
    if (i == first) {
      return std::nullopt;
    }
    exponent = negative_exponent ? -exponent : exponent;
  }
  if (i != text.size()) {
    return std::nullopt;
  }
  const std::size_t first_significant = digits.find_first_not_of('0');
  if (first_significant == std::string::npos) {
    return number;  // zero
  }
  const std::size_t last_significant = digits.find_last_not_of('0');
  number.exponent =
      exponent - fraction_digits + static_cast<std::int64_t>(digits.size() - 1 - last_significant);
  number.digits = digits.substr(first_significant, last_significant + 1 - first_significant);
  if (number.digits.size() > kMaxDigits) {
    // The dropped tail is non-zero (trailing zeros are gone): a final 1 stands for it.
    number.exponent += static_cast<std::int64_t>(number.digits.size() - kMaxDigits - 1);
    number.digits.resize(kMaxDigits);
    number.digits.push_back('1');
  }
  return number;
}

BigNatural FromDigits(const std::string& digits) {
  BigNatural value;
  for (const char c : digits) {
    value.MultiplyAdd(10U, static_cast<std::uint32_t>(c - '0'));
  }
  return value;
}

// Rounds (value + something below one unit when inexact) × 2^exponent to the nearest
// long double, ties to even. Empty on overflow.
std::optional<Extended> RoundToExtended(const BigNatural& value, int exponent, bool inexact) {
  const int length = value.BitLength();
  const int ulp_exponent = std::max(length + exponent - kMantissaBits, kLowestUlpExponent);
  const int shift = ulp_exponent - exponent;
  std::uint64_t mantissa = 0;
  int result_exponent = ulp_exponent;
  if (shift <= 0) {
    mantissa = value.BitsFrom(0) << -shift;
  } else {
    mantissa = value.BitsFrom(shift);
    const bool half = value.Bit(shift - 1);
    const bool beyond_half = inexact || value.AnyBitBelow(shift - 1);
    if (half && (beyond_half || (mantissa & 1U) != 0)) {
      ++mantissa;
      if (mantissa == 0) {  // carried out of 64 bits
        mantissa = std::uint64_t{1} << 63;
        ++result_exponent;
      }
    }
  }
  const Extended result = std::ldexp(static_cast<Extended>(mantissa), result_exponent);
  if (std::isinf(result)) {
    return std::nullopt;
  }
  return result;
}

std::optional<Extended> ToExtended(const DecimalText& number) {
  if (number.digits.empty()) {
    return Extended{0};
  }
  const auto magnitude = static_cast<std::int64_t>(number.digits.size()) + number.exponent;
  if (magnitude > 4934) {  // at least 1e4933, beyond the largest long double
    return std::nullopt;
  }
  if (magnitude < -4952) {  // below half the smallest subnormal
    return Extended{0};
  }
  BigNatural value = FromDigits(number.digits);
  if (number.exponent >= 0) {
    value.MultiplyByPowerOfTen(static_cast<int>(number.exponent));
    return RoundToExtended(value, 0, false);
  }
  BigNatural divisor(1);
  divisor.MultiplyByPowerOfTen(static_cast<int>(-number.exponent));
  // Scale so the quotient has 66 or 67 bits: 64 for the mantissa, then rounding bits.
  const int scale = divisor.BitLength() - value.BitLength() + 66;
  if (scale >= 0) {
    value.ShiftLeft(scale);
  } else {
    divisor.ShiftLeft(-scale);
  }
  BigNatural quotient;
  BigNatural step = divisor;
  step.ShiftLeft(67);
  for (int bit = 67; bit >= 0; --bit, step.ShiftRight(1)) {
    if (Compare(value, step) >= 0) {
      value.Subtract(step);
      quotient.SetBit(bit);
    }
  }
  return RoundToExtended(quotient, -scale, !value.IsZero());
}

// The decimal digits of floor(magnitude × 10^32), for a finite positive magnitude.
std::string ScaledDigits(Extended magnitude) {
  int binary_exponent = 0;
  const Extended fraction = std::frexp(magnitude, &binary_exponent);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, kMantissaBits));
  BigNatural value(mantissa);
  value.MultiplyByPowerOfTen(32);
  const int shift = binary_exponent - kMantissaBits;
  if (shift >= 0) {
    value.ShiftLeft(shift);
  } else {
    value.ShiftRight(-shift);
  }
  return value.ToDecimal();
}

std::uint64_t PowerOfTen(int exponent) {
  std::uint64_t power = 1;
  for (int i = 0; i < exponent; ++i) {
    power *= 10;
  }
  return power;
}

// coefficient × 10^exponent in plain digits, without trailing fraction zeros.
std::string FixedText(std::uint64_t coefficient, int exponent) {
  std::string digits = std::to_string(coefficient);
  if (exponent >= 0) {
    return coefficient == 0 ? digits : digits + std::string(static_cast<std::size_t>(exponent), '0');
  }
  const auto fraction_length = static_cast<std::size_t>(-exponent);
  if (digits.size() <= fraction_length) {
    digits.insert(0, fraction_length + 1 - digits.size(), '0');
  }
  std::string text = digits.substr(0, digits.size() - fraction_length);
  std::string fraction = digits.substr(digits.size() - fraction_length);
  while (!fraction.empty() && fraction.back() == '0') {
    fraction.pop_back();
  }
  return fraction.empty() ? text : text + "." + fraction;
}

// Values from 1e36 on: the 18 significant digits as d.ddd, then "E+" and the power.
std::string ExponentText(std::uint64_t coefficient, int power) {
  std::string digits = std::to_string(coefficient);
  while (digits.size() > 1 && digits.back() == '0') {
    digits.pop_back();
  }
  const std::string mantissa = digits.size() == 1 ? digits : digits.substr(0, 1) + "." + digits.substr(1);
  return mantissa + "E+" + std::to_string(power);
}

}  // namespace

std::string_view TrimLeftBlanks(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) {
    text.remove_prefix(1);
  }
  return text;
}

std::string_view TrimRightBlanks(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::string_view TrimBlanks(std::string_view text) {
  return TrimRightBlanks(TrimLeftBlanks(text));
}

std::optional<Extended> ParseNumber(std::string_view text) {
  const auto number = ReadDecimal(TrimBlanks(text));
  if (!number) {
    return std::nullopt;
  }
  const auto magnitude = ToExtended(*number);
  if (!magnitude) {
    return std::nullopt;
  }
  return number->negative ? -*magnitude : *magnitude;
}

std::string FormatNumber(Extended x) {
  if (std::isnan(x)) {
    return "NAN";
  }
  if (std::isinf(x)) {
    return x < 0 ? "-INF" : "INF";
  }
  // A negative value keeps its "-" even where it rounds to 0.
  const std::string sign = x < 0 ? "-" : "";
  const Extended magnitude = std::fabs(x);
  if (magnitude < 1e-14L) {
    return sign + "0";
  }
  std::string digits = ScaledDigits(magnitude);
  int power = static_cast<int>(digits.size()) - 33;  // of the leading digit
  digits.resize(19, '0');
  std::uint64_t coefficient = std::stoull(digits.substr(0, 18));
  if (digits[18] >= '5') {
    ++coefficient;
  }
  if (coefficient == PowerOfTen(18)) {
    coefficient /= 10;
    ++power;
  }
  if (power >= 36) {
    return sign + ExponentText(coefficient, power);
  }
  int exponent = power - 17;  // of the last of the 18 digits
  if (exponent < -12) {
    const int dropped = -12 - exponent;
    if (dropped > 18) {
      coefficient = 0;
    } else {
      const std::uint64_t unit = PowerOfTen(dropped);
      const bool round_up = coefficient % unit >= unit / 2;
      coefficient = coefficient / unit + (round_up ? 1 : 0);
    }
    exponent = -12;
  }
  return sign + FixedText(coefficient, exponent);
}

}  // namespace paginor::calc
