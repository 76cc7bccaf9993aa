#include "classlib/win32/otkRASDial.h"

#include <windows.h>
#include <ras.h>

#include <array>
#include <cstring>

#include "classlib/win32/otkForAPIStringControl.h"
#include "classlib/win32/otkRasLayout.h"

bool otkRASDial::DialEntry(std::string_view agEntryName, std::string_view agUserName, std::string_view agPassword) {
  std::string entry, user, password;
  if (!otkForAPIStringControl::ToAnsi(agEntryName, entry) || !otkForAPIStringControl::ToAnsi(agUserName, user) ||
      !otkForAPIStringControl::ToAnsi(agPassword, password))
    return false;

  // The form without sub-entry and callback id: with it the system dials the entry's stored number.
  constexpr auto& f = otkRasLayout::kDialParams;
  alignas(8) std::array<char, f.Size> params{};
  std::memcpy(params.data(), &f.Size, sizeof f.Size);
  if (!otkForAPIStringControl::CopyToAnsiField(params.data() + f.EntryName, f.FieldLen, entry) ||
      !otkForAPIStringControl::CopyToAnsiField(params.data() + f.UserName, f.FieldLen, user) ||
      !otkForAPIStringControl::CopyToAnsiField(params.data() + f.Password, f.FieldLen, password))
    return false;

  HRASCONN conn = nullptr;
  const DWORD rc = RasDialA(nullptr, nullptr, reinterpret_cast<LPRASDIALPARAMSA>(params.data()), 0, nullptr, &conn);
  SecureZeroMemory(params.data() + f.Password, f.FieldLen);
  SecureZeroMemory(password.data(), password.size());
  if (rc != 0) {
    // A failed dial still holds a half-opened connection until it is hung up.
    if (conn) RasHangUpA(conn);
    return false;
  }
  return true;
}

bool otkRASDial::HangUpEntry(std::string_view agEntryName) {
  if (!master_.EnumRasConnections(otkRASMaster::kHandle | otkRASMaster::kEntryName)) return false;
  for (const RasConnInfo& c : master_.Connections()) {
    if (c.EntryName == agEntryName) {
      return RasHangUpA(reinterpret_cast<HRASCONN>(c.Handle)) == 0;
    }
  }
  return false;
}
