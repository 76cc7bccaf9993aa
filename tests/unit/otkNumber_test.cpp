// The number reader of the boxes: the settings dialogs' decimal grammar and the history windows'
// grammar with an exponent, rounding halves to even and saturating instead of overflowing.
#include <gtest/gtest.h>

#include "classlib/otkNumber.h"

namespace {

using otk::NumberGrammar;
using otk::ReadNumber;

TEST(otkNumber, DecimalNumbersAreStrictAndNeverOverflow) {
  for (NumberGrammar g : {NumberGrammar::Decimal, NumberGrammar::WithExponent}) {
    EXPECT_EQ(ReadNumber(" 42 ", g), 42);
    EXPECT_EQ(ReadNumber("-7", g), -7);
    EXPECT_EQ(ReadNumber("+.5", g), 0);
    EXPECT_EQ(ReadNumber("1.5", g), 2);
    EXPECT_EQ(ReadNumber("2.5", g), 2);
    EXPECT_EQ(ReadNumber("2.51", g), 3);
    EXPECT_EQ(ReadNumber("99999999999999999999999", g), INT64_MAX);
    EXPECT_EQ(ReadNumber("-99999999999999999999999", g), -INT64_MAX);
    for (const char* bad : {"", " ", "-", ".", "1.2.3", "12a", "0x10", "1 000", "１２"})
      EXPECT_FALSE(ReadNumber(bad, g)) << bad;
  }
  EXPECT_FALSE(ReadNumber("1e3", NumberGrammar::Decimal));
}

TEST(otkNumber, ExponentMovesThePointBeforeRounding) {
  const NumberGrammar e = NumberGrammar::WithExponent;
  EXPECT_EQ(ReadNumber("1e1", e), 10);
  EXPECT_EQ(ReadNumber(" 2.5E1 ", e), 25);
  EXPECT_EQ(ReadNumber("-1.e+2", e), -100);
  EXPECT_EQ(ReadNumber(".5e1", e), 5);
  EXPECT_EQ(ReadNumber("15e-1", e), 2);  // 1.5
  EXPECT_EQ(ReadNumber("25e-1", e), 2);  // 2.5
  EXPECT_EQ(ReadNumber("5e-1", e), 0);
  EXPECT_EQ(ReadNumber("51e-2", e), 1);
  EXPECT_EQ(ReadNumber("5e-9999999999", e), 0);
  EXPECT_EQ(ReadNumber("0e9999999999", e), 0);
  EXPECT_EQ(ReadNumber("1e19", e), INT64_MAX);
  EXPECT_EQ(ReadNumber("-1e9999999999", e), -INT64_MAX);
  for (const char* bad : {"e1", "1e", "1e+", ".e1", "1e1.5", "1e1e1", "1 e1", "1d3"})
    EXPECT_FALSE(ReadNumber(bad, e)) << bad;
}

}  // namespace
