// A fresh directory under /tmp for one test, removed with everything in it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#ifdef _WIN32
#include <io.h>
#endif

namespace Orvane::Lumisk::RenderTool::Testing {

class TempDir {
public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumisk-test-XXXXXX").string();
#ifdef _WIN32
    // No mkdtemp: pick the unique name first, then create it.
    std::error_code failed;
    path = _mktemp(pattern.data()) != nullptr && std::filesystem::create_directory(pattern, failed) ? pattern
                                                                                                    : std::string();
#else
    path = mkdtemp(pattern.data()) ? pattern : std::string();
#endif
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string File(const std::string& name) const {
    return path + "/" + name;
  }
  const std::string& Path() const {
    return path;
  }
  size_t EntryCount() const {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path)) ++n;
    return n;
  }

private:
  std::string path;
};

}  // namespace Orvane::Lumisk::RenderTool::Testing
