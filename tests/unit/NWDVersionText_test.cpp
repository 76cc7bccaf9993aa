#include "settings/NWDVersionText.h"

#include <gtest/gtest.h>

#include "classlib/otkFileString.h"

TEST(NWDVersionText, MajorDotMinorWithoutPadding) {
  EXPECT_EQ(nw::VersionLine(2, 5), "Orvin.T.K. NetWard 2.5");
  EXPECT_EQ(nw::VersionLine(2, 10), "Orvin.T.K. NetWard 2.10");
  EXPECT_EQ(nw::VersionLine(1, 0), "Orvin.T.K. NetWard 1.0");
}

TEST(NWDVersionText, HelpPageIsBelowTheProgramFolder) {
  EXPECT_EQ(otkFileString::JoinPath("C:\\Tools\\NetWard\\", nw::kHelpStartPage),
            "C:\\Tools\\NetWard\\GuideNWD\\guidetop.htm");
}
