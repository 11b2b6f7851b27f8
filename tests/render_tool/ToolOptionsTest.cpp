// The command line of lumisk-render: parsing, and the range check against a
// parameter table written here independently of the module's.
#include <cstring>

#include <gtest/gtest.h>

#include "tools/ToolError.h"
#include "tools/ToolOptions.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < line.size()) {
    size_t end = line.find(' ', start);
    if (end == std::string::npos) end = line.size();
    if (end > start) words.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

struct GoodCase {
  const char* line;
  int paramIndex;
  double value;
  double y;
};

void PrintTo(const GoodCase& c, std::ostream* os) {
  *os << c.line;
}

class ParseGood : public ::testing::TestWithParam<GoodCase> {};

TEST_P(ParseGood, GivesTheSettingForTheParameter) {
  const GoodCase& c = GetParam();
  const ToolOptions options = ParseToolOptions(Split(c.line));
  const ParamSetting* setting = FindSetting(options, c.paramIndex);
  ASSERT_NE(setting, nullptr) << c.line;
  EXPECT_DOUBLE_EQ(setting->value, c.value) << c.line;
  EXPECT_DOUBLE_EQ(setting->y, c.y) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Options, ParseGood,
    ::testing::Values(GoodCase{"--lens circular", 1, 1, 0}, GoodCase{"--lens pentagon", 1, 3, 0},
                      GoodCase{"--blur 0", 2, 0, 0}, GoodCase{"--blur=400", 2, 400, 0}, GoodCase{"--map none", 5, 1, 0},
                      GoodCase{"--map layer", 5, 6, 0}, GoodCase{"--map-layer m.png", 5, 6, 0},
                      GoodCase{"--feather 5", 7, 5, 0}, GoodCase{"--center 10.5,-3", 8, 10.5, -3},
                      GoodCase{"--scale-x 50", 9, 50, 0}, GoodCase{"--scale-y 0.5", 10, 0.5, 0},
                      GoodCase{"--rotation -45", 11, -45, 0}, GoodCase{"--focal 45.5", 12, 45.5, 0},
                      GoodCase{"--invert", 13, 1, 0}, GoodCase{"--show", 4, 1, 0}, GoodCase{"--quality high", 15, 1, 0},
                      GoodCase{"--blur 5 --blur 7", 2, 7, 0},
                      // Too small for a double: read as 0, not refused.
                      GoodCase{"--focal 1e-400", 12, 0, 0}, GoodCase{"--center 1e-400,-1e-320", 8, 0, 0},
                      GoodCase{"--scale-x 1e-310", 9, 0, 0}));

TEST(ParseToolOptions, FilesAndToolOptions) {
  ToolOptions options = ParseToolOptions({});
  EXPECT_EQ(options.input, "");
  EXPECT_EQ(options.output, "lumisk.png");
  EXPECT_EQ(options.downsample, 1);
  EXPECT_EQ(options.language, "en_US");
  EXPECT_TRUE(options.settings.empty());

  options = ParseToolOptions({"in.png", "--downsample", "2", "out.png", "--lang", "zh_CN"});
  EXPECT_EQ(options.input, "in.png");
  EXPECT_EQ(options.output, "out.png");
  EXPECT_EQ(options.downsample, 2);
  EXPECT_EQ(options.language, "zh_CN");
  EXPECT_TRUE(ParseToolOptions({"--help"}).help);
  EXPECT_EQ(ParseToolOptions({"--", "-odd.png"}).input, "-odd.png");
}

struct BadCase {
  const char* line;
  const char* message;
};

void PrintTo(const BadCase& c, std::ostream* os) {
  *os << c.line;
}

class ParseBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(ParseBad, ThrowsAClearMessage) {
  const BadCase& c = GetParam();
  try {
    ParseToolOptions(Split(c.line));
    FAIL() << "accepted: " << c.line;
  } catch (const ToolError& error) {
    EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Options, ParseBad,
    ::testing::Values(BadCase{"--lens square", "expected one of circular|hexagon|pentagon"},
                      BadCase{"--blur", "--blur: a value is needed"}, BadCase{"--blur 2.5", "not a whole number"},
                      BadCase{"--blur 20x", "not a whole number"}, BadCase{"--blur 99999999999", "out of range"},
                      BadCase{"--scale-x abc", "not a number"}, BadCase{"--scale-x nan", "not a number"},
                      BadCase{"--scale-x inf", "not a number"}, BadCase{"--scale-x 1e400", "not a number"},
                      BadCase{"--center 10", "expected X,Y"}, BadCase{"--center 1,y", "not a number"},
                      BadCase{"--invert=1", "takes no value"}, BadCase{"--downsample 0", "between 1 and 16"},
                      BadCase{"--downsample 17", "between 1 and 16"}, BadCase{"--lang toolong", "language tag"},
                      BadCase{"--frobnicate", "unknown option"}, BadCase{"a.png b.png c.png", "too many file names"},
                      BadCase{"--map circle --map-layer m.png", "only with --map layer"}));

// Definitions for the options' indices, with the ranges the effect declares.
class ParamTable {
public:
  ParamTable() : defs(17) {
    Popup(1, "Lens Shape", 3, 2);
    Slider(2, "Blur Strength", 0, 400, 20);
    Checkbox(4, "", "Show");
    Popup(5, "Type", 6, 1);
    Slider(7, "Feather", 0, 1000, 250);
    defs[8].param_type = PF_Param_POINT;
    FloatSlider(9, "Scale X", 0, 5000, 100);
    FloatSlider(10, "Scale Y", 0, 5000, 100);
    defs[11].param_type = PF_Param_ANGLE;
    defs[12].param_type = PF_Param_FIX_SLIDER;
    defs[12].u.fd.valid_max = 100 << 16;
    Name(12, "Blur Focal Distance");
    Checkbox(13, "Invert", "");
    Popup(15, "Quality", 2, 2);
  }
  std::vector<const PF_ParamDef*> Pointers() const {
    std::vector<const PF_ParamDef*> out;
    for (const PF_ParamDef& def : defs) out.push_back(&def);
    return out;
  }
  PF_ParamDef& operator[](size_t i) { return defs[i]; }

private:
  void Name(int i, const char* name) { std::strncpy(defs[size_t(i)].name, name, sizeof defs[0].name - 1); }
  void Popup(int i, const char* name, short choices, short dephault) {
    defs[size_t(i)].param_type = PF_Param_POPUP;
    defs[size_t(i)].u.pd.num_choices = choices;
    defs[size_t(i)].u.pd.dephault = dephault;
    Name(i, name);
  }
  void Slider(int i, const char* name, int low, int high, int dephault) {
    defs[size_t(i)].param_type = PF_Param_SLIDER;
    defs[size_t(i)].u.sd.valid_min = low;
    defs[size_t(i)].u.sd.valid_max = high;
    defs[size_t(i)].u.sd.dephault = dephault;
    Name(i, name);
  }
  void FloatSlider(int i, const char* name, float low, float high, float dephault) {
    defs[size_t(i)].param_type = PF_Param_FLOAT_SLIDER;
    defs[size_t(i)].u.fs_d.valid_min = low;
    defs[size_t(i)].u.fs_d.valid_max = high;
    defs[size_t(i)].u.fs_d.dephault = dephault;
    Name(i, name);
  }
  void Checkbox(int i, const char* name, const char* label) {
    defs[size_t(i)].param_type = PF_Param_CHECKBOX;
    defs[size_t(i)].u.bd.u.nameptr = label;
    Name(i, name);
  }
  std::vector<PF_ParamDef> defs;
};

struct RangeCase {
  const char* line;
  const char* message;  // empty: accepted
};

void PrintTo(const RangeCase& c, std::ostream* os) {
  *os << c.line;
}

class RangeCheck : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeCheck, FollowsTheDefinitions) {
  const RangeCase& c = GetParam();
  ParamTable table;
  const ToolOptions options = ParseToolOptions(Split(c.line));
  if (c.message[0] == '\0') {
    EXPECT_NO_THROW(CheckSettingsAgainstParams(options, table.Pointers())) << c.line;
    return;
  }
  try {
    CheckSettingsAgainstParams(options, table.Pointers());
    FAIL() << "accepted: " << c.line;
  } catch (const ToolError& error) {
    EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, RangeCheck,
    ::testing::Values(
        RangeCase{"--blur 0 --blur 400", ""}, RangeCase{"--blur 401", "\"Blur Strength\" must be between 0 and 400"},
        RangeCase{"--blur -1", "between 0 and 400"}, RangeCase{"--feather 1000", ""},
        RangeCase{"--feather 1001", "\"Feather\" must be between 0 and 1000"},
        RangeCase{"--scale-x 5000 --scale-y 0", ""}, RangeCase{"--scale-y 5000.5", "\"Scale Y\""},
        RangeCase{"--scale-x -0.1", "between 0 and 5000"}, RangeCase{"--focal 100 --focal 0", ""},
        RangeCase{"--focal 100.5", "\"Blur Focal Distance\""}, RangeCase{"--rotation 720 --rotation -32767", ""},
        RangeCase{"--rotation 40000", "must be between"}, RangeCase{"--center 40000,1", "must be between"},
        RangeCase{"--lens pentagon --map layer --show", ""}, RangeCase{"--quality high --invert", ""}));

TEST(RangeCheck, RefusesAParameterOfAnotherTypeOrMissing) {
  ParamTable table;
  table[2].param_type = PF_Param_POPUP;
  EXPECT_THROW(CheckSettingsAgainstParams(ParseToolOptions({"--blur", "3"}), table.Pointers()), ToolError);
  auto pointers = table.Pointers();
  pointers.resize(10);
  EXPECT_THROW(CheckSettingsAgainstParams(ParseToolOptions({"--quality", "low"}), pointers), ToolError);
}

TEST(HelpText, ListsEveryOptionWithTheParametersNamesAndRanges) {
  ParamTable table;
  const std::string help = HelpText(table.Pointers());
  for (const OptionRow& row : ParameterOptions()) EXPECT_NE(help.find(row.flag), std::string::npos) << row.flag;
  EXPECT_NE(help.find("\"Blur Strength\", 0 to 400, default 20"), std::string::npos) << help;
  EXPECT_NE(help.find("\"Lens Shape\", default hexagon"), std::string::npos) << help;
  EXPECT_NE(help.find("\"Show\", default off"), std::string::npos) << help;
  EXPECT_NE(help.find("\"Quality\", default low"), std::string::npos) << help;
}

}  // namespace
}  // namespace Orvane::Lumisk::RenderTool
