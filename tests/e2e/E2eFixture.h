#pragma once
// A test that drives one NetWard.exe in a fresh program folder: a watchdog that ends the program
// when the test hangs, a watcher that fails the test on dialogs nobody expected, the program closed
// through its menu at the end, and the message boxes it shows read and answered.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "E2eSupport.h"

namespace e2e {

class NetWardE2e : public ::testing::Test {
 protected:
  explicit NetWardE2e(Ms limit = 120s) : limit_(limit) {}
  void SetUp() override;
  void TearDown() override;

  // Starts NetWard.exe in the folder; its main window once it is shown.
  HWND StartNetWard();
  // A system dialog (message box, file dialog) of the program, once one is shown.
  HWND WaitForDialogBox();
  // The message box that `keys` bring up: its texts, after it was closed with Enter.
  std::string MessageAfter(const std::function<void()>& keys);

  ProgramFolder folder_;
  DialogWatcher watcher_;
  std::unique_ptr<Process> proc_;
  std::unique_ptr<Watchdog> dog_;
  HWND main_ = nullptr;

 private:
  Ms limit_;
};

}  // namespace e2e
