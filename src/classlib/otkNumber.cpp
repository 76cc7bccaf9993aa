#include "classlib/otkNumber.h"

#include <algorithm>
#include <limits>
#include <string>

namespace otk {

namespace {

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool AllDigits(std::string_view s) { return std::all_of(s.begin(), s.end(), IsDigit); }

// A sign at the front of `t`, taken off; true when it was "-".
bool TakeSign(std::string_view& t) {
  if (t.empty() || (t.front() != '+' && t.front() != '-')) return false;
  const bool negative = t.front() == '-';
  t.remove_prefix(1);
  return negative;
}

// Beyond this many places every digit string is either 0 or saturated.
constexpr int64_t kExponentCap = 100000;

}  // namespace

std::optional<int64_t> ReadNumber(std::string_view t, NumberGrammar grammar) {
  auto blank = [](char ch) { return ch == ' ' || ch == '\t'; };
  while (!t.empty() && blank(t.front())) t.remove_prefix(1);
  while (!t.empty() && blank(t.back())) t.remove_suffix(1);
  const bool negative = TakeSign(t);

  int64_t exponent = 0;
  if (grammar == NumberGrammar::WithExponent) {
    const size_t e = t.find_first_of("eE");
    if (e != std::string_view::npos) {
      std::string_view digits = t.substr(e + 1);
      const bool down = TakeSign(digits);
      if (digits.empty() || !AllDigits(digits)) return std::nullopt;
      for (char ch : digits) exponent = std::min(exponent * 10 + (ch - '0'), kExponentCap);
      if (down) exponent = -exponent;
      t = t.substr(0, e);
    }
  }
  const size_t point = t.find('.');
  const std::string_view whole = t.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : t.substr(point + 1);
  if ((whole.empty() && fraction.empty()) || !AllDigits(whole) || !AllDigits(fraction)) return std::nullopt;

  // All digits with the decimal point moved by the exponent: the integer is digits[0, cut).
  std::string digits(whole);
  digits += fraction;
  const int64_t cut = static_cast<int64_t>(whole.size()) + exponent;
  auto digitAt = [&](int64_t i) { return i >= 0 && i < static_cast<int64_t>(digits.size()) ? digits[i] - '0' : 0; };

  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  int64_t value = 0;
  bool saturated = false;
  for (int64_t i = 0; i < cut && !saturated; ++i) {
    const int d = digitAt(i);
    if (value > (kMax - d) / 10)
      saturated = true;
    else
      value = value * 10 + d;
  }
  if (!saturated) {
    // Nearest integer, halves to the even neighbour.
    const int first = digitAt(cut);
    bool rest = false;
    for (int64_t i = std::max<int64_t>(cut + 1, 0); i < static_cast<int64_t>(digits.size()) && !rest; ++i)
      rest = digits[static_cast<size_t>(i)] != '0';
    const bool up = first > 5 || (first == 5 && (rest || value % 2 == 1));
    if (up) {
      if (value == kMax)
        saturated = true;
      else
        ++value;
    }
  }
  if (saturated) value = kMax;
  return negative ? -value : value;
}

}  // namespace otk
