#include "tools/OutputFile.h"

#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

std::string Quote(const std::string& path) {
  return "\"" + path + "\"";
}

#ifdef _WIN32
constexpr const char* kPathSeparators = "/\\";
#else
constexpr const char* kPathSeparators = "/";
#endif

// mkstemp makes the file private; give it the mode a plain create would.
// Windows files carry no such mode.
void GivePlainCreateMode([[maybe_unused]] int fd) {
#ifndef _WIN32
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
#endif
}

bool FlushToDisk(FILE* f) {
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return fsync(fileno(f)) == 0;
#endif
}

// Replaces `to` by `from` in one step. The C library's rename does not
// replace an existing file on Windows.
bool MoveOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return true;
  errno = EACCES;
  return false;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of(kPathSeparators);
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const size_t slash = path.find_last_of(kPathSeparators);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The longest file name the target's directory takes.
size_t LongestNameIn([[maybe_unused]] const std::string& directory) {
#ifdef _WIN32
  // The ANSI file functions take whole paths of MAX_PATH - 1 characters at most.
  std::error_code failed;
  const size_t used = std::filesystem::absolute(directory, failed).string().size() + 1;
  return used < MAX_PATH - 1 ? std::min<size_t>(255, MAX_PATH - 1 - used) : 0;
#else
  const long longest = pathconf(directory.c_str(), _PC_NAME_MAX);
  return longest > 0 ? size_t(longest) : 255;
#endif
}

constexpr const char kTemporaryPrefix[] = ".";
constexpr const char kTemporarySuffix[] = ".tmp-XXXXXX";

// A hidden name beside the target, no longer than a name there may be: the
// target's own name is cut short when the marks around it would not fit.
std::string TemporaryNameFor(const std::string& target) {
  const std::string directory = DirectoryOf(target);
  std::string base = BaseNameOf(target);
  const size_t marks = sizeof kTemporaryPrefix - 1 + sizeof kTemporarySuffix - 1;
  const size_t longest = LongestNameIn(directory);
  if (base.size() + marks > longest) base.resize(longest > marks ? longest - marks : 0);
  return directory + "/" + kTemporaryPrefix + base + kTemporarySuffix;
}

// Removes the temporary file unless the write completed and renamed it.
class TemporaryFile {
public:
  explicit TemporaryFile(const std::string& target) : temporaryPath(TemporaryNameFor(target)) {
    const int fd = mkstemp(temporaryPath.data());
    if (fd < 0) throw ToolError(Quote(target) + ": cannot create a file beside it: " + std::strerror(errno));
    GivePlainCreateMode(fd);
    stream.reset(fdopen(fd, "wb"));
    if (!stream) {
      ::close(fd);
      std::remove(temporaryPath.c_str());
      throw ToolError(Quote(target) + ": cannot write: " + std::strerror(errno));
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    stream.reset();
    if (!renamed) std::remove(temporaryPath.c_str());
  }

  FILE* File() const { return stream.get(); }

  void CommitAs(const std::string& target) {
    FILE* f = stream.release();
    const bool flushed = std::fflush(f) == 0 && FlushToDisk(f);
    const int savedErrno = errno;
    const bool closed = std::fclose(f) == 0;
    if (!flushed || !closed) throw ToolError(Quote(target) + ": cannot write: " + std::strerror(savedErrno));
    if (!MoveOver(temporaryPath, target)) throw ToolError(Quote(target) + ": cannot write: " + std::strerror(errno));
    renamed = true;
  }

private:
  std::string temporaryPath;
  FilePtr stream;
  bool renamed = false;
};

// Where a picture goes: a new or regular file is replaced whole through a
// temporary file; anything else that exists (a FIFO, a device, a terminal)
// is written into as it is and never replaced. A symbolic link stays: the
// file it leads to is the target.
struct OutputPlace {
  std::string path;
  bool intoExisting = false;
};

OutputPlace PlaceOf(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code failed;
  const fs::file_type followed = fs::status(path, failed).type();
  if (followed != fs::file_type::regular && followed != fs::file_type::not_found) return {path, true};
  if (fs::symlink_status(path, failed).type() != fs::file_type::symlink) return {path, false};
  const fs::path resolved = fs::weakly_canonical(path, failed);
  return {failed ? path : resolved.string(), false};
}

// Writes into a file that is not replaced: opened as it is, flushed, closed.
void WriteInto(const std::string& path, const FileWriter& write) {
  FilePtr file(std::fopen(path.c_str(), "wb"));
  if (!file) throw ToolError(Quote(path) + ": cannot write: " + std::strerror(errno));
  write(file.get());
  FILE* f = file.release();
  const bool flushed = std::fflush(f) == 0;
  const int savedErrno = errno;
  if (std::fclose(f) != 0 || !flushed) throw ToolError(Quote(path) + ": cannot write: " + std::strerror(savedErrno));
}

}  // namespace

void WriteOutputFile(const std::string& path, const FileWriter& write) {
  const OutputPlace place = PlaceOf(path);
  if (place.intoExisting) {
    WriteInto(place.path, write);
    return;
  }
  TemporaryFile temporary(place.path);
  write(temporary.File());
  temporary.CommitAs(place.path);
}

}  // namespace Orvane::Lumisk::RenderTool
