#pragma once

#include <memory>
#include <string>

namespace Orvane::Lumisk {

class OpenglShader;

// A program of the full-screen vertex program and the given fragment source,
// with "position" bound to location 0 and "input_uv" to location 1. Makes no
// GL call: it links at its first Use.
std::unique_ptr<OpenglShader> MakeFullscreenProgram(const std::string& fragmentSource);

}  // namespace Orvane::Lumisk
