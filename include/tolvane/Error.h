#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "tolvane/Export.h"

namespace tolvane {

// The one error type of Tolvane, in the library as in the programs. Its message (what()) is the
// text a user sees, such as "File not found" or "Disk full"; `path` names the file involved when
// there is one, so a caller can say which file failed even for messages that do not name it.
// Every failure of the library is raised as an Error, except that running out of memory stays
// std::bad_alloc.
class TOLVANE_API Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message, std::filesystem::path path = {})
      : std::runtime_error(message), path_(std::move(path)) {}

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace tolvane
