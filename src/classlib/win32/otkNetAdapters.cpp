#include "classlib/win32/otkNetAdapters.h"

#include "classlib/win32/WinText.h"

namespace otk {

bool CountableInterface(const MIB_IF_ROW2& row) {
  return row.Type != IF_TYPE_SOFTWARE_LOOPBACK && row.InterfaceAndOperStatusFlags.HardwareInterface &&
         !row.InterfaceAndOperStatusFlags.FilterInterface;
}

IfTable::IfTable() {
  if (GetIfTable2(&table_) != NO_ERROR) table_ = nullptr;
}

IfTable::~IfTable() {
  if (table_) FreeMibTable(table_);
}

std::vector<std::string> ListNetworkAdapters() {
  std::vector<std::string> names;
  IfTable table;
  for (ULONG i = 0; i < table.Count(); ++i)
    if (CountableInterface(table.Row(i))) names.push_back(nw::win::Narrow(table.Row(i).Alias));
  return names;
}

}  // namespace otk
