// The Windows codec against the same samples the native codec is tested with.
#include "classlib/otkCodePage932.h"

#include <gtest/gtest.h>

#include "../unit/Cp932Samples.h"

using namespace nw;

TEST(CodePage932Win, SharedSamplesEncode) {
  for (const auto& s : test::kCp932Samples) EXPECT_EQ(cp932::FromUtf8(s.utf8), s.cp932) << s.utf8;
}

TEST(CodePage932Win, SharedSamplesDecodeWhenRepresentable) {
  for (const auto& s : test::kCp932Samples) {
    if (s.cp932.find('?') != std::string_view::npos) continue;
    EXPECT_EQ(cp932::ToUtf8(s.cp932), s.utf8) << s.utf8;
  }
}
