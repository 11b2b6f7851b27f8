// UTF-8 text as code page 936 bytes, through the C library's own converter,
// so the expected bytes do not come from the effect's string table.
#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>

namespace Orvane::Lumisk::ParamsTest {

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

}  // namespace Orvane::Lumisk::ParamsTest
