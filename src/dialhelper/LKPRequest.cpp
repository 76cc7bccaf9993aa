#include "dialhelper/LKPRequest.h"

namespace lkp {

std::string_view CommandLineTail(std::string_view commandLine) {
  size_t i = 0;
  bool quoted = false;
  while (i < commandLine.size()) {
    const char c = commandLine[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      break;
    }
    ++i;
  }
  if (i >= commandLine.size()) return {};
  return commandLine.substr(i + 1);  // exactly one separating blank
}

std::vector<std::string_view> SplitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) {
      fields.push_back(text.substr(start));
      return fields;
    }
    fields.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

Request ParseRequest(std::string_view tail) {
  Request r;
  if (tail == kRequestInternetAutodial) {
    r.Kind = RequestKind::InternetAutodial;
    return r;
  }
  if (tail == kRequestInternetAutodialHangup) {
    r.Kind = RequestKind::InternetAutodialHangup;
    return r;
  }
  const auto fields = SplitFields(tail);
  if (fields[0] == kRequestRasDial && fields.size() == 4) {
    r.Kind = RequestKind::RasDial;
    r.Entry = fields[1];
    r.User = fields[2];
    r.Password = fields[3];
  } else if (fields[0] == kRequestRasHangUp && fields.size() == 2) {
    r.Kind = RequestKind::RasHangUp;
    r.Entry = fields[1];
  }
  return r;
}

}  // namespace lkp
