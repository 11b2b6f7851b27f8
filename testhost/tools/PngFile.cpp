#include "testhost/tools/PngFile.h"

#include <png.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "testhost/tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

struct PngImageReleaser {
  png_image* image;
  ~PngImageReleaser() { png_image_free(image); }
};

std::string Quote(const std::string& path) { return "\"" + path + "\""; }

FilePtr OpenForReading(const std::string& path) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) throw ToolError(Quote(path) + ": cannot open: " + std::strerror(errno));
  return file;
}

void CheckSignature(FILE* file, const std::string& path) {
  unsigned char signature[8] = {};
  const size_t got = std::fread(signature, 1, sizeof signature, file);
  if (got != sizeof signature || png_sig_cmp(signature, 0, sizeof signature) != 0)
    throw ToolError(Quote(path) + ": not a PNG file");
  std::rewind(file);
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

// Removes the temporary file unless the write completed and renamed it.
class TemporaryFile {
public:
  explicit TemporaryFile(const std::string& target) {
    path_ = DirectoryOf(target) + "/." + BaseNameOf(target) + ".tmp-XXXXXX";
    const int fd = mkstemp(path_.data());
    if (fd < 0) throw ToolError(Quote(target) + ": cannot create a file beside it: " + std::strerror(errno));
    GivePlainCreateMode(fd);
    file_.reset(fdopen(fd, "wb"));
    if (!file_) {
      ::close(fd);
      std::remove(path_.c_str());
      throw ToolError(Quote(target) + ": cannot write: " + std::strerror(errno));
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    file_.reset();
    if (!renamed_) std::remove(path_.c_str());
  }

  FILE* File() const { return file_.get(); }

  void CommitAs(const std::string& target) {
    FILE* f = file_.release();
    const bool flushed = std::fflush(f) == 0 && FlushToDisk(f);
    const int savedErrno = errno;
    const bool closed = std::fclose(f) == 0;
    if (!flushed || !closed) throw ToolError(Quote(target) + ": cannot write: " + std::strerror(savedErrno));
    if (!MoveOver(path_, target))
      throw ToolError(Quote(target) + ": cannot write: " + std::strerror(errno));
    renamed_ = true;
  }

private:
  std::string path_;
  FilePtr file_;
  bool renamed_ = false;
};

}  // namespace

RgbaImage ReadPng(const std::string& path, const PngSizeCheck& checkSize) {
  FilePtr file = OpenForReading(path);
  CheckSignature(file.get(), path);

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  PngImageReleaser releaser{&image};
  if (!png_image_begin_read_from_stdio(&image, file.get()))
    throw ToolError(Quote(path) + ": damaged PNG file (" + image.message + ")");
  if (image.format & PNG_FORMAT_FLAG_LINEAR)
    throw ToolError(Quote(path) + ": 16-bit PNG files are not supported (the effect renders 8-bit frames); "
                    "convert it to 8 bits per channel first");
  if (image.width == 0 || image.height == 0 || image.width > 1u << 16 || image.height > 1u << 16)
    throw ToolError(Quote(path) + ": unsupported picture size");
  if (checkSize) checkSize(int(image.width), int(image.height));

  RgbaImage result(int(image.width), int(image.height), (image.format & PNG_FORMAT_FLAG_ALPHA) != 0);
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_finish_read(&image, nullptr, result.rgba.data(), 0, nullptr))
    throw ToolError(Quote(path) + ": damaged PNG file (" + image.message + ")");
  return result;
}

void WritePngAtomically(const std::string& path, const RgbaImage& image) {
  TemporaryFile temporary(path);
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(image.width);
  png.height = png_uint_32(image.height);
  png.format = PNG_FORMAT_RGBA;
  // The simplified writer drops the alpha channel itself when asked for RGB;
  // give it RGB rows then.
  std::vector<uint8_t> rgb;
  const void* rows = image.rgba.data();
  if (!image.hasAlpha) {
    png.format = PNG_FORMAT_RGB;
    rgb.resize(size_t(image.width) * size_t(image.height) * 3);
    for (size_t i = 0, n = size_t(image.width) * size_t(image.height); i < n; ++i)
      std::memcpy(&rgb[i * 3], &image.rgba[i * 4], 3);
    rows = rgb.data();
  }
  const bool written = png_image_write_to_stdio(&png, temporary.File(), 0, rows, 0, nullptr) != 0;
  const std::string message = png.message;
  png_image_free(&png);
  if (!written) throw ToolError("\"" + path + "\": cannot write PNG (" + message + ")");
  temporary.CommitAs(path);
}

}  // namespace Orvane::Lumisk::RenderTool
