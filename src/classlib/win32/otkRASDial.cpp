#include "classlib/win32/otkRASDial.h"

#include <windows.h>
#include <ras.h>

#include <array>
#include <cstring>

#include "classlib/win32/otkForAPIStringControl.h"

namespace {

// RASDIALPARAMSA in its 1052-byte form (no sub-entry, no callback id): with it the system dials the
// entry's stored phone number.
constexpr DWORD kDialParamsSize = 1052;
constexpr size_t kEntryNameOffset = 4;
constexpr size_t kUserNameOffset = 519;
constexpr size_t kPasswordOffset = 776;
constexpr size_t kNameField = 257;  // 256 bytes and the terminating zero

}  // namespace

bool otkRASDial::DialEntry(std::string_view agEntryName, std::string_view agUserName, std::string_view agPassword) {
  std::string entry, user, password;
  if (!otkForAPIStringControl::ToAnsi(agEntryName, entry) || !otkForAPIStringControl::ToAnsi(agUserName, user) ||
      !otkForAPIStringControl::ToAnsi(agPassword, password))
    return false;

  alignas(4) std::array<char, kDialParamsSize> params{};
  std::memcpy(params.data(), &kDialParamsSize, 4);
  if (!otkForAPIStringControl::CopyToAnsiField(params.data() + kEntryNameOffset, kNameField, entry) ||
      !otkForAPIStringControl::CopyToAnsiField(params.data() + kUserNameOffset, kNameField, user) ||
      !otkForAPIStringControl::CopyToAnsiField(params.data() + kPasswordOffset, kNameField, password))
    return false;

  HRASCONN conn = nullptr;
  const DWORD rc = RasDialA(nullptr, nullptr, reinterpret_cast<LPRASDIALPARAMSA>(params.data()), 0, nullptr, &conn);
  SecureZeroMemory(params.data() + kPasswordOffset, kNameField);
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
      return RasHangUpA(reinterpret_cast<HRASCONN>(static_cast<UINT_PTR>(c.Handle))) == 0;
    }
  }
  return false;
}
