// The error types of the render tool: a message for the user, already phrased
// for standard error; main() prints it and exits non-zero (2 for a usage error).
#pragma once

#include <stdexcept>
#include <string>

namespace Orvane::Lumisk::RenderTool {

class ToolError : public std::runtime_error {
public:
  explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

// A command line the tool refuses to act on.
class UsageError : public ToolError {
public:
  explicit UsageError(const std::string& message) : ToolError(message) {}
};

}  // namespace Orvane::Lumisk::RenderTool
