#include "monitor/DialRequests.h"

namespace nw {

namespace {

DialerCommand MakeCommand(std::string_view programFolder, std::string_view request) {
  DialerCommand cmd;
  cmd.Program = DialerDirectory(programFolder);
  cmd.Program += kDialerFileName;
  cmd.CommandLine.reserve(cmd.Program.size() + request.size() + 3);
  cmd.CommandLine += '"';
  cmd.CommandLine += cmd.Program;
  cmd.CommandLine += "\" ";
  cmd.CommandLine += request;
  return cmd;
}

}  // namespace

std::string DialerDirectory(std::string_view programFolder) {
  std::string dir(programFolder);
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  return dir;
}

DialerCommand DialAuto(std::string_view programFolder) {
  return MakeCommand(programFolder, lkp::kRequestInternetAutodial);
}

DialerCommand HangUpAuto(std::string_view programFolder) {
  return MakeCommand(programFolder, lkp::kRequestInternetAutodialHangup);
}

DialerCommand DialRas(std::string_view programFolder, std::string_view entry, std::string_view user,
                      std::string_view password) {
  std::string request(lkp::kRequestRasDial);
  request.append(",").append(entry).append(",").append(user).append(",").append(password);
  return MakeCommand(programFolder, request);
}

DialerCommand HangUpRas(std::string_view programFolder, std::string_view entry) {
  std::string request(lkp::kRequestRasHangUp);
  request.append(",").append(entry);
  return MakeCommand(programFolder, request);
}

}  // namespace nw
