#pragma once

#include <cstdint>

namespace Orvane::Lumisk {

// Thrown by value when a hidden window, its pixel format or a WGL context
// cannot be made. Every throw passes 1.
class AESDK_OpenGL_Fault {
public:
    explicit AESDK_OpenGL_Fault(std::int32_t faultCode) : code(faultCode) {}

    std::int32_t code;
};

}  // namespace Orvane::Lumisk
