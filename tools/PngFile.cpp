#include "tools/PngFile.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <png.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "tools/OutputFile.h"
#include "tools/ToolError.h"

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

std::string Quote(const std::string& path) {
  return "\"" + path + "\"";
}

FilePtr OpenForReading(const std::string& path) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) throw ToolError(Quote(path) + ": cannot open: " + std::strerror(errno));
  return file;
}

// The whole file, read front to back without seeking (a pipe cannot rewind);
// "-" is standard input. Anything but a PNG file is refused at its first
// bytes, before the rest is read.
std::vector<unsigned char> ReadPngBytes(const std::string& path) {
  FilePtr opened;
  FILE* file = stdin;
  if (path == "-") {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
  } else {
    opened = OpenForReading(path);
    file = opened.get();
  }
  constexpr size_t kSignatureBytes = 8;
  std::vector<unsigned char> bytes(kSignatureBytes);
  if (std::fread(bytes.data(), 1, kSignatureBytes, file) != kSignatureBytes ||
      png_sig_cmp(bytes.data(), 0, kSignatureBytes) != 0)
    throw ToolError(Quote(path) + ": not a PNG file");
  unsigned char block[1 << 16];
  size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
  if (std::ferror(file)) throw ToolError(Quote(path) + ": cannot read: " + std::strerror(errno));
  return bytes;
}

struct EncodeFailure {
  FILE* file = nullptr;
  int writeErrno = 0;  // what the system said when a write failed
  char message[256] = "";
};

void OnPngError(png_structp png, png_const_charp text) {
  auto* failure = static_cast<EncodeFailure*>(png_get_error_ptr(png));
  std::snprintf(failure->message, sizeof failure->message, "%s", text);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// libpng's own writer says only "Write Error"; this one keeps errno's reason
// (a full disk says so).
void WriteBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* failure = static_cast<EncodeFailure*>(png_get_error_ptr(png));
  if (std::fwrite(data, 1, length, failure->file) != length) {
    failure->writeErrno = errno;
    png_error(png, "Write Error");
  }
}

void FlushBytes(png_structp png) {
  auto* failure = static_cast<EncodeFailure*>(png_get_error_ptr(png));
  if (std::fflush(failure->file) != 0) {
    failure->writeErrno = errno;
    png_error(png, "Write Error");
  }
}

// zlib level 2 with every row filtered by its difference from the row above:
// measured on rendered 1080p frames, about a tenth of the time of libpng's
// defaults (level 6, a filter chosen per row) for files about 1.6 times as
// large; level 1 is hardly faster and a fifth larger (the README has the
// figures).
constexpr int kCompressionLevel = 2;
constexpr int kRowFilter = PNG_FILTER_UP;

// Writes RGBA, or RGB (the fourth byte of each pixel dropped) without alpha.
// Only plain data lives in this frame: libpng leaves it by longjmp on error.
bool EncodePng(FILE* file, const RgbaImage& image, EncodeFailure& failure) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, OnPngError, OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    std::snprintf(failure.message, sizeof failure.message, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  failure.file = file;
  png_set_write_fn(png, nullptr, WriteBytes, FlushBytes);
  png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8,
               image.hasAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // The colour space the pictures are in, as libpng's simplified writer marks it.
  png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
  png_set_compression_level(png, kCompressionLevel);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, kRowFilter);
  png_write_info(png, info);
  if (!image.hasAlpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
  for (int y = 0; y < image.height; ++y) png_write_row(png, image.Pixel(0, y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

RgbaImage ReadPng(const std::string& path, const PngSizeCheck& checkSize) {
  const std::vector<unsigned char> bytes = ReadPngBytes(path);

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  PngImageReleaser releaser{&image};
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    throw ToolError(Quote(path) + ": damaged PNG file (" + image.message + ")");
  if (image.format & PNG_FORMAT_FLAG_LINEAR)
    throw ToolError(Quote(path) +
                    ": 16-bit PNG files are not supported (the effect renders 8-bit frames); "
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

namespace {

FileWriter PngWriter(const std::string& name, const RgbaImage& image) {
  return [&name, &image](FILE* file) {
    EncodeFailure failure;
    if (!EncodePng(file, image, failure))
      throw ToolError(name + ": cannot write PNG (" +
                      (failure.writeErrno != 0 ? std::strerror(failure.writeErrno) : failure.message) + ")");
  };
}

}  // namespace

void WritePngAtomically(const std::string& path, const RgbaImage& image) {
  WriteOutputFile(path, PngWriter(Quote(path), image));
}

void WritePngToStream(FILE* stream, const std::string& name, const RgbaImage& image) {
#ifdef _WIN32
  _setmode(_fileno(stream), _O_BINARY);
#endif
  WriteOutputStream(stream, name, PngWriter(name, image));
}

}  // namespace Orvane::Lumisk::RenderTool
