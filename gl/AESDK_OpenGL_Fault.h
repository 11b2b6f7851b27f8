#pragma once

#include <cstdint>

namespace Orvane::Lumisk {

// Thrown by value when a hidden window, its pixel format or a WGL context
// cannot be made, or when a render asks for a texture or renderbuffer larger
// than the GL can hold. Every throw passes 1. The message is a literal that
// says what failed (empty for the context faults).
class AESDK_OpenGL_Fault {
public:
    explicit AESDK_OpenGL_Fault(std::int32_t faultCode, const char* faultMessage = "")
        : code(faultCode), message(faultMessage) {}

    std::int32_t code;
    const char* message;
};

}  // namespace Orvane::Lumisk
