#pragma once

#include <cstdint>

namespace Orvane::Lumisk {

// Thrown by value when a hidden window, its pixel format or a WGL context
// cannot be made, or when a render asks for a texture or renderbuffer larger
// than the GL can hold (the log says which). Every throw passes 1.
class AESDK_OpenGL_Fault {
public:
  explicit AESDK_OpenGL_Fault(std::int32_t faultCode) : code(faultCode) {}

  std::int32_t code;
};

}  // namespace Orvane::Lumisk
