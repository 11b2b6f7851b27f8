// The command line of lumisk-render: one table of options, each tied to the
// effect parameter it sets (by host index), a parser that turns argv into
// settings, and the range check of those settings against the parameter
// definitions that the module itself added at parameter set-up.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk::RenderTool {

// How an option's text becomes a parameter value.
enum class ValueKind {
  Choice,   // a word of the option's list; the value is its 1-based number
  Integer,  // a whole number
  Number,   // a decimal number
  Point,    // "X,Y" in pixels
  Flag,     // no argument; sets a checkbox
};

struct OptionRow {
  const char* flag;
  int paramIndex;
  ValueKind kind;
  const char* argument;              // shown in --help
  std::vector<const char*> choices;  // ValueKind::Choice only, in the popup's order
};

// The options that set effect parameters, in the order --help lists them.
const std::vector<OptionRow>& ParameterOptions();

struct ParamSetting {
  int paramIndex = 0;
  ValueKind kind = ValueKind::Integer;
  std::string optionText;  // "--blur 500", for messages
  double value = 0.0;      // Choice: 1-based number; Flag: 1
  double y = 0.0;          // Point only
};

struct ToolOptions {
  bool help = false;
  std::vector<ParamSetting> settings;  // in command-line order; a later one wins
  std::optional<std::string> mapLayer;
  int downsample = 1;
  std::string language = "en_US";
  std::optional<std::string> modulePath;
  std::string input;  // empty: the built-in test card
  std::string output = "lumisk.png";
};

constexpr int kMaxDownsample = 16;

// Throws ToolError for an unknown option, a missing or malformed argument, a
// word that is not in an option's list, or too many file names.
ToolOptions ParseToolOptions(const std::vector<std::string>& args);

// The setting for a parameter index, if the command line gave one.
const ParamSetting* FindSetting(const ToolOptions& options, int paramIndex);

// Checks every setting against the definition the module added for its index
// (params[i] is host index i): the type must fit and the value lie in the
// definition's valid range. Throws ToolError naming the option, the parameter
// and the range.
void CheckSettingsAgainstParams(const ToolOptions& options, const std::vector<const PF_ParamDef*>& params);

// The help text; parameter names come from the module's definitions when given.
std::string HelpText(const std::vector<const PF_ParamDef*>& params);

}  // namespace Orvane::Lumisk::RenderTool
