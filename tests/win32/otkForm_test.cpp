// The form kit's tips for a window that shows while the program starts (TipsAfterLoad).
#include <gtest/gtest.h>

#include "WindowTestKit.h"

namespace {

struct TipForm final : otkForm::Form {
  TipForm() : Form(GetModuleHandleW(nullptr)) {}
  void OnCommand(int, int) override {}
};

TEST(FormTips, AfterLoadTheyWaitForTheMessageLoopAndKeepTheLastWord) {
  TipForm f;
  otkForm::FormOptions o;
  o.Caption = "tips";
  o.ClientWidth = 200;
  o.ClientHeight = 80;
  o.TipsAfterLoad = true;
  ASSERT_TRUE(f.Create(o));
  const otkForm::Control controls[] = {
      {otkForm::Kind::Button, 101, "A", {8, 8, 80, 30}, 0, "first"},
      {otkForm::Kind::Label, 102, "", {8, 40, 30, 56}},
      {otkForm::Kind::Button, 103, "C", {100, 8, 180, 30}, 0, "kept"},
  };
  f.AddControls(f.Window(), controls);
  f.SetTip(101, "second");
  EXPECT_TRUE(f.SetFittedTextWithTip(102, "a label far too long for thirty pixels"));
  EXPECT_FALSE(f.SetFittedTextWithTip(102, "ok"));  // it fits again: no tip
  EXPECT_EQ(wtk::TipWindowOf(f.Window()), nullptr) << "made before the message loop ran";

  wtk::Pump(100);
  ASSERT_NE(wtk::TipWindowOf(f.Window()), nullptr);
  EXPECT_EQ(wtk::TipOf(f.Window(), f.Item(101)), "second");
  EXPECT_EQ(wtk::TipOf(f.Window(), f.Item(102)), "");
  EXPECT_EQ(wtk::TipOf(f.Window(), f.Item(103)), "kept");
  f.SetTip(103, "later");  // from now on straight to the tip window
  EXPECT_EQ(wtk::TipOf(f.Window(), f.Item(103)), "later");
}

}  // namespace
