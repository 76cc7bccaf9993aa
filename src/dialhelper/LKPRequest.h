#pragma once
// Linkpilot's request grammar: one request in the command-line tail, nothing quoted or escaped.
//
//   "InternetAutodial"                      dial through WinInet's automatic dial-up
//   "InternetAutodialHangup"                hang that up
//   "RASDial,<entry>,<user>,<password>"     dial a phonebook entry (exactly three fields)
//   "RASHangUp,<entry>"                     hang up the first connection of an entry (exactly one)
//
// Keywords are exact and case-sensitive; fields are split at every ","; anything else is no request.
#include <string>
#include <string_view>
#include <vector>

namespace lkp {

inline constexpr std::string_view kRequestInternetAutodial = "InternetAutodial";
inline constexpr std::string_view kRequestInternetAutodialHangup = "InternetAutodialHangup";
inline constexpr std::string_view kRequestRasDial = "RASDial";
inline constexpr std::string_view kRequestRasHangUp = "RASHangUp";

enum class RequestKind { None, InternetAutodial, InternetAutodialHangup, RasDial, RasHangUp };

struct Request {
  RequestKind Kind = RequestKind::None;
  std::string Entry;     // RasDial, RasHangUp
  std::string User;      // RasDial
  std::string Password;  // RasDial
  bool operator==(const Request&) const = default;
};

// The text after the program name and its one separating blank. The program name is read as the
// system reads it: up to the first blank or tab outside double quotes. No blank after it: empty tail.
std::string_view CommandLineTail(std::string_view commandLine);

// Every field between ",": "a,,b" -> {"a", "", "b"}; "" -> {""}.
std::vector<std::string_view> SplitFields(std::string_view text);

Request ParseRequest(std::string_view tail);

}  // namespace lkp
