#include "E2eFixture.h"

#include "E2eInput.h"
#include "app/NWDMenuIds.h"

namespace e2e {

void NetWardE2e::SetUp() {
  dog_ = std::make_unique<Watchdog>(limit_, [this] {
    if (proc_) proc_->Kill();
  });
}

void NetWardE2e::TearDown() {
  if (proc_) {
    for (HWND w : TopWindows(proc_->Pid(), L"NWDBase")) PostMessageW(w, WM_COMMAND, nw::cmd::Closenu, 0);
    if (!proc_->WaitExit(5s)) proc_->Kill();
  }
  for (const auto& texts : watcher_.Unexpected()) ADD_FAILURE() << "unexpected dialog: " << Narrow(texts);
  EXPECT_FALSE(dog_->Expired()) << "the test ran out of time";
  dog_.reset();
}

HWND NetWardE2e::StartNetWard() {
  proc_ = std::make_unique<Process>();
  EXPECT_TRUE(proc_->Start(folder_.Path(L"NetWard.exe"), L"", folder_.Dir()));
  watcher_.Watch(proc_->Pid());
  main_ = WaitForWindow(proc_->Pid(), L"NWDBase", 15s);
  EXPECT_TRUE(WaitUntil([&] { return Visible(main_); }, 10s));
  return main_;
}

HWND NetWardE2e::WaitForDialogBox() {
  HWND box = nullptr;
  EXPECT_TRUE(WaitUntil(
      [&] {
        for (HWND w : TopWindows(proc_->Pid(), L"#32770"))
          if (Visible(w)) box = w;
        return box != nullptr;
      },
      10s));
  return box;
}

std::string NetWardE2e::MessageAfter(const std::function<void()>& keys) {
  keys();
  HWND box = WaitForDialogBox();
  const std::string texts = Narrow(DialogTexts(box));
  Key(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return !Visible(box); }, 5s));
  return texts;
}

}  // namespace e2e
