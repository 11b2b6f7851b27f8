#include "tools/OutputFile.h"

#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#include <io.h>
#else
#include <unistd.h>

#include <csignal>
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

// mkstemp makes the file private; give it the mode a plain create would, or
// the mode (and, where the process may, the owner and group) of the file it
// replaces. Owner first: changing it clears the set-id bits. Windows files
// carry no such mode.
void GiveModeOf([[maybe_unused]] const std::string& target, [[maybe_unused]] int fd) {
#ifndef _WIN32
  struct stat replaced {};
  if (stat(target.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode)) {
    if (fchown(fd, replaced.st_uid, replaced.st_gid) != 0 && fchown(fd, uid_t(-1), replaced.st_gid) != 0) {
      // Neither may be given away by this process: the new file is its own.
    }
    fchmod(fd, replaced.st_mode & 07777);
    return;
  }
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
#endif
}

#ifndef _WIN32
// The temporary file being written, for the signal handler: a plain buffer,
// armed only once the name is complete.
char gTemporaryPath[4096];
volatile std::sig_atomic_t gTemporaryArmed = 0;

// Ctrl-C or a termination request while a picture is written: the hidden
// temporary file goes, then the signal does what it would have done.
// Only async-signal-safe calls here.
extern "C" void RemoveTemporaryAndRaise(int signalNumber) {
  if (gTemporaryArmed) unlink(gTemporaryPath);
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
}

// Installed once, for the signals a user or a job system sends to stop a run;
// a signal ignored when the tool started (nohup) stays ignored.
void InstallTemporaryCleanup() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    struct sigaction cleanup {};
    cleanup.sa_handler = RemoveTemporaryAndRaise;
    sigemptyset(&cleanup.sa_mask);
    sigaction(signalNumber, &cleanup, nullptr);
  }
}

// Holds the cleanup signals back while the temporary file is made and its
// name armed: one that arrives in between is handled once the name is known.
class CleanupSignalsHeld {
public:
  CleanupSignalsHeld() {
    InstallTemporaryCleanup();
    sigset_t held;
    sigemptyset(&held);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&held, signalNumber);
    sigprocmask(SIG_BLOCK, &held, &before);
  }
  ~CleanupSignalsHeld() { sigprocmask(SIG_SETMASK, &before, nullptr); }
  CleanupSignalsHeld(const CleanupSignalsHeld&) = delete;
  CleanupSignalsHeld& operator=(const CleanupSignalsHeld&) = delete;

private:
  sigset_t before{};
};

void ArmTemporaryCleanup(const std::string& path) {
  if (path.size() >= sizeof gTemporaryPath) return;
  gTemporaryArmed = 0;
  std::memcpy(gTemporaryPath, path.c_str(), path.size() + 1);
  gTemporaryArmed = 1;
}

void DisarmTemporaryCleanup() {
  gTemporaryArmed = 0;
}
#else
// Windows runs a console handler on another thread, while the file is open and
// cannot be removed: the temporary file stays there.
struct CleanupSignalsHeld {
  CleanupSignalsHeld() {}
};
void ArmTemporaryCleanup(const std::string&) {}
void DisarmTemporaryCleanup() {}
#endif

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
    const CleanupSignalsHeld held;
    const int fd = mkstemp(temporaryPath.data());
    if (fd < 0) throw ToolError(Quote(target) + ": cannot create a file beside it: " + std::strerror(errno));
    ArmTemporaryCleanup(temporaryPath);
    GiveModeOf(target, fd);
    stream.reset(fdopen(fd, "wb"));
    if (!stream) {
      ::close(fd);
      std::remove(temporaryPath.c_str());
      DisarmTemporaryCleanup();
      throw ToolError(Quote(target) + ": cannot write: " + std::strerror(errno));
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    stream.reset();
    if (!renamed) std::remove(temporaryPath.c_str());
    DisarmTemporaryCleanup();
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
    DisarmTemporaryCleanup();
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

#ifndef _WIN32
// Whether `directory/name` is this process's descriptor 1 in /proc (which
// /dev/fd and /proc/self lead to).
bool IsDescriptorOne(const std::filesystem::path& directory, const std::filesystem::path& name) {
  std::error_code failed;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(directory, failed);
  if (failed || name != "1") return false;
  return resolved == "/proc/self/fd" || resolved == "/proc/" + std::to_string(getpid()) + "/fd";
}
#endif

}  // namespace

bool NamesStandardOutput(const std::string& path) {
  if (path == "-") return true;
#ifdef _WIN32
  return false;
#else
  // Follows the links one at a time and stops at descriptor 1 itself: that
  // link leads to whatever descriptor 1 is now, not to what it was.
  namespace fs = std::filesystem;
  fs::path current = path;
  for (int link = 0; link < 40; ++link) {
    if (IsDescriptorOne(current.parent_path().empty() ? "." : current.parent_path(), current.filename())) return true;
    std::error_code failed;
    if (fs::symlink_status(current, failed).type() != fs::file_type::symlink) return false;
    const fs::path target = fs::read_symlink(current, failed);
    if (failed) return false;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return false;
#endif
}

void WriteOutputStream(FILE* stream, const std::string& name, const FileWriter& write) {
  write(stream);
  if (std::fflush(stream) != 0) throw ToolError(name + ": cannot write: " + std::strerror(errno));
}

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
