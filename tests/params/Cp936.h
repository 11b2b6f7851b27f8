// UTF-8 text as code page 936 bytes, through the C library's own converter
// (the system's on Windows), so the expected bytes do not come from the
// effect's string table.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <stdexcept>
#include <string>

namespace Orvane::Lumisk::ParamsTest {

#ifdef _WIN32
inline std::string ToCp936(const std::string& utf8) {
  if (utf8.empty()) return utf8;
  std::wstring wide(utf8.size() + 1, L'\0');
  const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                             wide.data(), static_cast<int>(wide.size()));
  if (wideLength == 0) throw std::runtime_error("not UTF-8: " + utf8);
  std::string out(static_cast<std::size_t>(wideLength) * 2 + 1, '\0');
  BOOL lossy = FALSE;
  const int outLength =
      WideCharToMultiByte(936, 0, wide.data(), wideLength, out.data(), static_cast<int>(out.size()), nullptr, &lossy);
  if (outLength == 0 || lossy) throw std::runtime_error("text not in CP936: " + utf8);
  out.resize(static_cast<std::size_t>(outLength));
  return out;
}
#else
inline std::string ToCp936(const std::string& utf8) {
  iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP936 converter");
  std::string in = utf8;
  std::string out(in.size() * 2 + 1, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  size_t inLeft = in.size();
  size_t outLeft = out.size();
  const size_t converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (converted == static_cast<size_t>(-1)) throw std::runtime_error("text not in CP936: " + utf8);
  out.resize(out.size() - outLeft);
  return out;
}
#endif

}  // namespace Orvane::Lumisk::ParamsTest
