#pragma once
// Reading a number typed into a box, in one of two grammars:
//   Decimal       blanks around it, a sign, digits with an optional decimal point ("-12", " 2.5 ")
//   WithExponent  the same, optionally followed by an exponent ("1e1", " 2.5E+1 ", ".5e-1")
// The value is rounded to the nearest integer, halves to the even neighbour; values beyond 64 bits
// saturate. Nothing is returned when the text is not a number of the grammar.
#include <cstdint>
#include <optional>
#include <string_view>

namespace otk {

enum class NumberGrammar { Decimal, WithExponent };

std::optional<int64_t> ReadNumber(std::string_view text, NumberGrammar grammar);

}  // namespace otk
