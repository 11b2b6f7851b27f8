#pragma once
// While it lives, every GL call made through glbinding in any context (the
// module's too, where it shares the test's glbinding) is followed by
// glGetError, and an error fails the running test with the call's name. A
// test that provokes an error on purpose resets its fixture's check first.

#include <cstring>

#include <glbinding/AbstractFunction.h>
#include <glbinding/FunctionCall.h>
#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "instruments/GlCallHooks.h"

namespace Orvane::Lumisk::Testing {

class ScopedGlErrorCheck {
public:
  ScopedGlErrorCheck() { TestHost::GlCallHooks::SetErrorCheck(&Check); }
  ~ScopedGlErrorCheck() { TestHost::GlCallHooks::SetErrorCheck(nullptr); }
  ScopedGlErrorCheck(const ScopedGlErrorCheck&) = delete;
  ScopedGlErrorCheck& operator=(const ScopedGlErrorCheck&) = delete;

private:
  static void Check(const glbinding::FunctionCall& call) {
    // glGetError reads the flags it would clear; its callers look themselves.
    if (std::strcmp(call.function->name(), "glGetError") == 0) return;
    const gl::GLenum error = gl::glGetError();
    if (error != gl::GL_NO_ERROR) {
      ADD_FAILURE() << call.function->name() << " raised GL error 0x" << std::hex << static_cast<unsigned>(error);
    }
  }
};

}  // namespace Orvane::Lumisk::Testing
