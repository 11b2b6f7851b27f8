#include "tools/ToolOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>

#include "tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

// Host indices of the parameters (index 0 is the input layer).
enum : int {
  kLensShape = 1,
  kBlurStrength = 2,
  kShow = 4,
  kMapType = 5,
  kFeather = 7,
  kCenter = 8,
  kScaleX = 9,
  kScaleY = 10,
  kRotation = 11,
  kFocalDistance = 12,
  kInvert = 13,
  kQuality = 15,
};

// The largest magnitude a 16.16 fixed-point value holds.
constexpr double kFixedLimit = 32767.0;

std::string Describe(const std::string& flag, const std::string& text) {
  return flag + " " + text;
}

double ParseDecimal(const std::string& text, const std::string& what) {
  if (text.empty()) throw ToolError(what + ": a number is needed");
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(value)) throw ToolError(what + ": not a number");
  // Too small for a double (1e-400): as close to 0 as the option can tell.
  if (errno == ERANGE && std::fabs(value) <= std::numeric_limits<double>::min()) return 0.0;
  if (errno == ERANGE) throw ToolError(what + ": not a number");
  return value;
}

int ParseWhole(const std::string& text, const std::string& what) {
  if (text.empty()) throw ToolError(what + ": a whole number is needed");
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size()) throw ToolError(what + ": not a whole number");
  if (errno == ERANGE || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    throw ToolError(what + ": number out of range");
  return int(value);
}

ParamSetting ParseSetting(const OptionRow& row, const std::string& text) {
  ParamSetting setting;
  setting.paramIndex = row.paramIndex;
  setting.kind = row.kind;
  setting.optionText = row.kind == ValueKind::Flag ? std::string(row.flag) : Describe(row.flag, text);
  switch (row.kind) {
    case ValueKind::Choice: {
      for (size_t i = 0; i < row.choices.size(); ++i)
        if (text == row.choices[i]) setting.value = double(i + 1);
      if (setting.value == 0.0) {
        std::string list;
        for (const char* c : row.choices) list += (list.empty() ? "" : "|") + std::string(c);
        throw ToolError(setting.optionText + ": expected one of " + list);
      }
      break;
    }
    case ValueKind::Integer:
      setting.value = ParseWhole(text, setting.optionText);
      break;
    case ValueKind::Number:
      setting.value = ParseDecimal(text, setting.optionText);
      break;
    case ValueKind::Point: {
      const size_t comma = text.find(',');
      if (comma == std::string::npos) throw ToolError(setting.optionText + ": expected X,Y");
      setting.value = ParseDecimal(text.substr(0, comma), setting.optionText);
      setting.y = ParseDecimal(text.substr(comma + 1), setting.optionText);
      break;
    }
    case ValueKind::Flag:
      setting.value = 1.0;
      break;
  }
  return setting;
}

const OptionRow* FindRow(const std::string& flag) {
  for (const OptionRow& row : ParameterOptions())
    if (flag == row.flag) return &row;
  return nullptr;
}

// Splits "--name=value" and fetches the value of "--name value".
class ArgumentCursor {
public:
  explicit ArgumentCursor(const std::vector<std::string>& args) : arguments(args) {}
  bool Done() const { return next >= arguments.size(); }
  std::string Take() { return arguments[next++]; }
  std::string TakeValue(const std::string& flag, std::optional<std::string>& inlineValue) {
    if (inlineValue) {
      std::string value = *inlineValue;
      inlineValue.reset();
      return value;
    }
    if (Done()) throw ToolError(flag + ": a value is needed");
    return Take();
  }

private:
  const std::vector<std::string>& arguments;
  size_t next = 0;
};

std::string FormatNumber(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string ParamName(const PF_ParamDef& def) {
  if (def.name[0] != '\0') return std::string(def.name, strnlen(def.name, sizeof def.name));
  if (def.param_type == PF_Param_CHECKBOX && def.u.bd.u.nameptr) return def.u.bd.u.nameptr;
  return "parameter";
}

struct Range {
  double low = -kFixedLimit;
  double high = kFixedLimit;
};

// The valid range of a definition, or throws when its type cannot take the setting.
Range RangeOf(const ParamSetting& setting, const PF_ParamDef& def) {
  const double fixedOne = 65536.0;
  const PF_ParamType type = def.param_type;
  const auto wrongType = [&]() {
    return ToolError(setting.optionText + ": the module's parameter " + std::to_string(setting.paramIndex) + " (\"" +
                     ParamName(def) + "\") has another type");
  };
  switch (setting.kind) {
    case ValueKind::Choice:
      if (type != PF_Param_POPUP) throw wrongType();
      return {1.0, double(def.u.pd.num_choices)};
    case ValueKind::Integer:
      if (type != PF_Param_SLIDER) throw wrongType();
      return {double(def.u.sd.valid_min), double(def.u.sd.valid_max)};
    case ValueKind::Number:
      if (type == PF_Param_FLOAT_SLIDER) return {double(def.u.fs_d.valid_min), double(def.u.fs_d.valid_max)};
      if (type == PF_Param_FIX_SLIDER) return {def.u.fd.valid_min / fixedOne, def.u.fd.valid_max / fixedOne};
      if (type == PF_Param_SLIDER) return {double(def.u.sd.valid_min), double(def.u.sd.valid_max)};
      if (type != PF_Param_ANGLE) throw wrongType();
      // An angle without a range of its own takes what 16.16 degrees can hold.
      if (def.u.ad.valid_min < def.u.ad.valid_max)
        return {def.u.ad.valid_min / fixedOne, def.u.ad.valid_max / fixedOne};
      return {};
    case ValueKind::Point:
      if (type != PF_Param_POINT) throw wrongType();
      return {};
    case ValueKind::Flag:
      if (type != PF_Param_CHECKBOX) throw wrongType();
      return {0.0, 1.0};
  }
  return {};
}

std::string DefaultOf(const OptionRow& row, const PF_ParamDef& def) {
  switch (row.kind) {
    case ValueKind::Choice: {
      const int choice = def.u.pd.dephault;
      return choice >= 1 && size_t(choice) <= row.choices.size() ? row.choices[size_t(choice - 1)] : "?";
    }
    case ValueKind::Integer:
      return std::to_string(def.u.sd.dephault);
    case ValueKind::Number:
      if (def.param_type == PF_Param_FLOAT_SLIDER) return FormatNumber(def.u.fs_d.dephault);
      if (def.param_type == PF_Param_FIX_SLIDER) return FormatNumber(def.u.fd.dephault / 65536.0);
      if (def.param_type == PF_Param_ANGLE) return FormatNumber(def.u.ad.dephault / 65536.0);
      return std::to_string(def.u.sd.dephault);
    case ValueKind::Point:
      return "the frame's centre";
    case ValueKind::Flag:
      return "off";
  }
  return "";
}

}  // namespace

const std::vector<OptionRow>& ParameterOptions() {
  static const std::vector<OptionRow> options = {
      {"--lens", kLensShape, ValueKind::Choice, "circular|hexagon|pentagon", {"circular", "hexagon", "pentagon"}},
      {"--blur", kBlurStrength, ValueKind::Integer, "N", {}},
      {"--map",
       kMapType,
       ValueKind::Choice,
       "none|linear2|linear3|circle|square|layer",
       {"none", "linear2", "linear3", "circle", "square", "layer"}},
      {"--feather", kFeather, ValueKind::Integer, "N", {}},
      {"--center", kCenter, ValueKind::Point, "X,Y", {}},
      {"--scale-x", kScaleX, ValueKind::Number, "PCT", {}},
      {"--scale-y", kScaleY, ValueKind::Number, "PCT", {}},
      {"--rotation", kRotation, ValueKind::Number, "DEG", {}},
      {"--focal", kFocalDistance, ValueKind::Number, "PCT", {}},
      {"--invert", kInvert, ValueKind::Flag, "", {}},
      {"--show", kShow, ValueKind::Flag, "", {}},
      {"--quality", kQuality, ValueKind::Choice, "high|low", {"high", "low"}},
  };
  return options;
}

ToolOptions ParseToolOptions(const std::vector<std::string>& args) {
  ToolOptions options;
  std::vector<std::string> files;
  std::optional<std::string> outputOption;
  ArgumentCursor cursor(args);
  bool optionsEnded = false;
  while (!cursor.Done()) {
    std::string arg = cursor.Take();
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::optional<std::string> inlineValue;
    const size_t equals = arg.find('=');
    if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
      inlineValue = arg.substr(equals + 1);
      arg.resize(equals);
    }
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (const OptionRow* row = FindRow(arg)) {
      if (row->kind == ValueKind::Flag) {
        if (inlineValue) throw ToolError(arg + " takes no value");
        options.settings.push_back(ParseSetting(*row, ""));
      } else {
        options.settings.push_back(ParseSetting(*row, cursor.TakeValue(arg, inlineValue)));
      }
    } else if (arg == "--map-layer") {
      options.mapLayer = cursor.TakeValue(arg, inlineValue);
      if (options.mapLayer->empty()) throw ToolError("--map-layer: a file name is needed");
    } else if (arg == "--downsample") {
      const std::string text = cursor.TakeValue(arg, inlineValue);
      options.downsample = ParseWhole(text, Describe(arg, text));
      if (options.downsample < 1 || options.downsample > kMaxDownsample)
        throw ToolError(Describe(arg, text) + ": the downsample factor must be between 1 and " +
                        std::to_string(kMaxDownsample));
    } else if (arg == "--lang") {
      options.language = cursor.TakeValue(arg, inlineValue);
      if (options.language.empty() || options.language.size() >= size_t(PF_APP_LANG_TAG_SIZE))
        throw ToolError("--lang " + options.language + ": a language tag such as en_US or zh_CN is needed");
    } else if (arg == "--output" || arg == "-o") {
      outputOption = cursor.TakeValue(arg, inlineValue);
    } else if (arg == "--module") {
      options.modulePath = cursor.TakeValue(arg, inlineValue);
    } else {
      throw ToolError(arg + ": unknown option (see --help)");
    }
  }
  if (files.size() > 2 || (outputOption && files.size() > 1))
    throw ToolError("too many file names: at most INPUT.png and OUTPUT.png");
  // An empty name (an unset shell variable) is a mistake, not the test card.
  if (!files.empty() && files[0].empty()) throw ToolError("an INPUT file name is needed, not an empty one");
  if (!files.empty()) options.input = files[0];
  if (files.size() == 2) options.output = files[1];
  if (outputOption) options.output = *outputOption;
  if (options.output.empty()) throw ToolError("an OUTPUT file name is needed");
  if (options.mapLayer) {
    const ParamSetting* map = FindSetting(options, kMapType);
    if (!map) {
      ParamSetting layer = ParseSetting(*FindRow("--map"), "layer");
      options.settings.push_back(layer);
    } else if (map->value != 6.0) {
      throw ToolError("--map-layer is used only with --map layer");
    }
  }
  return options;
}

const ParamSetting* FindSetting(const ToolOptions& options, int paramIndex) {
  const ParamSetting* found = nullptr;
  for (const ParamSetting& setting : options.settings)
    if (setting.paramIndex == paramIndex) found = &setting;
  return found;
}

void CheckSettingsAgainstParams(const ToolOptions& options, const std::vector<const PF_ParamDef*>& params) {
  for (const ParamSetting& setting : options.settings) {
    const size_t index = size_t(setting.paramIndex);
    if (index >= params.size() || !params[index])
      throw ToolError(setting.optionText + ": the module defines no parameter " + std::to_string(index));
    const PF_ParamDef& def = *params[index];
    const Range range = RangeOf(setting, def);
    const bool inRange = setting.value >= range.low && setting.value <= range.high &&
                         (setting.kind != ValueKind::Point || (setting.y >= range.low && setting.y <= range.high));
    if (!inRange)
      throw ToolError(setting.optionText + ": \"" + ParamName(def) + "\" must be between " + FormatNumber(range.low) +
                      " and " + FormatNumber(range.high));
  }
}

std::string HelpText(const std::vector<const PF_ParamDef*>& params) {
  std::ostringstream text;
  text << "Usage: lumisk-render [options] [INPUT.png [OUTPUT.png]]\n"
          "Renders INPUT.png through the ZQ Lumisk module into OUTPUT.png (default lumisk.png).\n"
          "Without INPUT it renders the built-in test card; \"-\" as INPUT or OUTPUT is standard\n"
          "input or output. A pattern such as frames/%04d.png renders every existing frame of a\n"
          "numbered sequence in number order (then OUTPUT must be a pattern too).\n\n"
          "Effect parameters (each defaults to the parameter's own default):\n";
  for (const OptionRow& row : ParameterOptions()) {
    std::string left = std::string("  ") + row.flag + (row.argument[0] ? " " : "") + row.argument;
    if (left.size() < 50) left.resize(50, ' ');
    text << left;
    const size_t index = size_t(row.paramIndex);
    if (index < params.size() && params[index]) {
      const PF_ParamDef& def = *params[index];
      text << "\"" << ParamName(def) << "\"";
      if (row.kind == ValueKind::Integer || row.kind == ValueKind::Number) {
        ParamSetting probe;
        probe.kind = row.kind;
        try {
          const Range range = RangeOf(probe, def);
          const bool ranged = def.param_type != PF_Param_ANGLE || def.u.ad.valid_min < def.u.ad.valid_max;
          if (ranged) text << ", " << FormatNumber(range.low) << " to " << FormatNumber(range.high);
        } catch (const ToolError&) {
          // A definition of another type: the range check at render time says so.
        }
      }
      text << ", default " << DefaultOf(row, def);
    } else {
      text << "parameter " << index;
    }
    text << "\n";
  }
  text << "\nTool options:\n"
          "  --map-layer FILE.png                            the custom blur-map layer (implies --map layer)\n"
          "  --downsample N                                  render at 1/N resolution, as a host preview (1 to "
       << kMaxDownsample
       << ")\n"
          "  -o, --output FILE.png                           the output (also the second file name)\n"
          "  --lang TAG                                      the host's interface language tag (default en_US)\n"
          "  --module PATH                                   the effect module to load (default: the built one)\n"
          "  --help                                          this text\n";
  return text.str();
}

}  // namespace Orvane::Lumisk::RenderTool
