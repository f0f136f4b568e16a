#include "platform/ProgramFolder.h"

#include "platform/Error.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tolvane {

std::filesystem::path ProgramFolder() {
#ifdef _WIN32
  wchar_t buffer[32768];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
  return std::filesystem::path(std::wstring(buffer, length)).parent_path();
#else
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) throw Error("Cannot find the program folder: " + ec.message());
  return exe.parent_path();
#endif
}

}  // namespace tolvane
