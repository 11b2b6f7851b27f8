// The one error type of the render tool: a message for the user, already
// phrased for standard error; main() prints it and exits non-zero.
#pragma once

#include <stdexcept>
#include <string>

namespace Orvane::Lumisk::RenderTool {

class ToolError : public std::runtime_error {
public:
  explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace Orvane::Lumisk::RenderTool
