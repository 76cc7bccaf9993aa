#pragma once
// Dialing and hanging up a phonebook entry through RAS, synchronously.
#include <string_view>

#include "classlib/win32/otkRASMaster.h"

class otkRASDial {
 public:
  // Dials the entry of the default phonebook with the given credentials and returns when the
  // connection is up (true) or has failed (false; the half-open handle is released). Nothing is
  // dialed when a text is longer than 256 ANSI bytes or has no ANSI form.
  bool DialEntry(std::string_view agEntryName, std::string_view agUserName, std::string_view agPassword);

  // Hangs up the first active connection of the entry (exact, case-sensitive name); further
  // connections of that entry stay up. False when none matched or the hang-up failed.
  bool HangUpEntry(std::string_view agEntryName);

 private:
  otkRASMaster master_;
};
