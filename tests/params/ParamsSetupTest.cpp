#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "effect/ParamReaders.h"
#include "effect/ParamsSetup.h"
#include "instruments/TestHost.h"
#include "tests/params/Cp936.h"
#include "tests/params/ParamsGolden.h"

namespace Orvane::Lumisk::ParamsTest {
namespace {

enum class Language { English, Chinese };

std::string Expected(const char* utf8, Language language) {
  return language == Language::Chinese ? ToCp936(utf8) : std::string(utf8);
}

// Byte offsets where two definitions differ, for a readable failure.
std::string DifferingOffsets(const PF_ParamDef& a, const PF_ParamDef& b) {
  std::string offsets;
  const auto* pa = reinterpret_cast<const unsigned char*>(&a);
  const auto* pb = reinterpret_cast<const unsigned char*>(&b);
  for (std::size_t i = 0; i < sizeof a; ++i) {
    if (pa[i] != pb[i]) offsets += " " + std::to_string(i);
  }
  return offsets;
}

// The definition as received, with the text pointer cleared (its text is
// compared on its own) so that every other byte can be compared.
PF_ParamDef WithoutTextPointer(PF_ParamDef def) {
  if (def.param_type == PF_Param_POPUP) def.u.pd.u.namesptr = nullptr;
  if (def.param_type == PF_Param_CHECKBOX) def.u.bd.u.nameptr = nullptr;
  return def;
}

// Received text of a popup or checkbox, and whether the module handed one.
const TestHost::HostParam& Param(TestHost::Host& host, PF_ParamIndex index) {
  return host.Params().At(index);
}

std::string ReceivedText(const TestHost::HostParam& param) {
  return param.definition.param_type == PF_Param_POPUP ? param.popupItems : param.checkboxLabel;
}

void ExpectGoldenDefinitions(TestHost::Host& host, Language language) {
  const std::vector<GoldenParam> golden = GoldenParams();
  ASSERT_EQ(host.Params().Count(), 17);
  for (std::size_t i = 0; i < golden.size(); ++i) {
    const PF_ParamIndex index = static_cast<PF_ParamIndex>(i + 1);
    SCOPED_TRACE("index " + std::to_string(index));
    const GoldenParam& want = golden[i];
    const TestHost::HostParam& got = Param(host, index);
    EXPECT_EQ(got.addIndex, -1);

    PF_ParamDef expected = want.def;
    if (want.englishName != nullptr) {
      const std::string name = Expected(language == Language::Chinese ? want.chineseName : want.englishName, language);
      ASSERT_LT(name.size(), sizeof expected.name);
      std::memcpy(expected.name, name.data(), name.size());
    }
    const PF_ParamDef received = WithoutTextPointer(got.definition);
    EXPECT_EQ(std::memcmp(&received, &expected, sizeof expected), 0)
        << "bytes differ at" << DifferingOffsets(received, expected);

    if (want.englishText != nullptr) {
      EXPECT_NE(got.moduleTextPointer, nullptr);
      EXPECT_EQ(ReceivedText(got),
                Expected(language == Language::Chinese ? want.chineseText : want.englishText, language));
    } else {
      EXPECT_EQ(got.moduleTextPointer, nullptr);
    }
  }
}

std::size_t ItemCount(const std::string& items) {
  std::size_t count = 1;
  for (char c : items) count += c == '|' ? 1 : 0;
  return count;
}

class ParamsSetupTest : public ::testing::Test {
protected:
  TestHost::Host host;
};

TEST_F(ParamsSetupTest, SixteenDefinitionsFieldByFieldInBothLanguages) {
  const struct {
    const char* tag;
    Language language;
  } cases[] = {{"en_US", Language::English},
               {"zh_CN", Language::Chinese},
               {"ja_JP", Language::English},
               {"zh_TW", Language::English},
               {"", Language::English}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("tag '") + c.tag + "'");
    TestHost::Host fresh;
    fresh.SetLanguageTag(c.tag);
    ASSERT_EQ(fresh.GlobalSetup(), PF_Err_NONE);
    fresh.Records().Clear();
    EXPECT_EQ(fresh.ParamsSetup(), PF_Err_NONE);
    EXPECT_TRUE(fresh.Records().suiteCalls.empty());  // names come from the table made at global set-up
    EXPECT_EQ(fresh.OutData().num_params, 17);
    EXPECT_EQ(fresh.Records().addParamCalls, 16);
    EXPECT_EQ(fresh.Records().strcpyCalls, 15);  // the group's end gets no name at all
    ExpectGoldenDefinitions(fresh, c.language);
    EXPECT_EQ(fresh.GlobalSetdown(), PF_Err_NONE);
  }
}

TEST_F(ParamsSetupTest, PopupChoiceCountsMatchTheirItemLists) {
  for (const char* tag : {"en_US", "zh_CN"}) {
    SCOPED_TRACE(tag);
    TestHost::Host fresh;
    fresh.SetLanguageTag(tag);
    ASSERT_EQ(fresh.GlobalSetup(), PF_Err_NONE);
    ASSERT_EQ(fresh.ParamsSetup(), PF_Err_NONE);
    for (PF_ParamIndex index : {1, 5, 15}) {
      const TestHost::HostParam& popup = Param(fresh, index);
      EXPECT_EQ(static_cast<std::size_t>(popup.definition.u.pd.num_choices), ItemCount(popup.popupItems))
          << "index " << index;
    }
    fresh.GlobalSetdown();
  }
}

// The host keeps the item and label pointers: they must stay valid after the
// set-up has returned, until global set-down.
TEST_F(ParamsSetupTest, TextPointersStayValidUntilSetdown) {
  host.SetLanguageTag("zh_CN");
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  ASSERT_EQ(host.ParamsSetup(), PF_Err_NONE);
  host.UpdateParamsUI();
  for (PF_ParamIndex index : {1, 4, 5, 13, 15}) {
    const TestHost::HostParam& param = Param(host, index);
    ASSERT_NE(param.moduleTextPointer, nullptr) << "index " << index;
    EXPECT_EQ(std::string(param.moduleTextPointer), ReceivedText(param)) << "index " << index;
  }
  host.GlobalSetdown();
}

TEST_F(ParamsSetupTest, AddParamErrorEndsTheSetUpWithThatError) {
  for (int failAt = 1; failAt <= 16; ++failAt) {
    SCOPED_TRACE("add_param fails at call " + std::to_string(failAt));
    TestHost::Host fresh;
    ASSERT_EQ(fresh.GlobalSetup(), PF_Err_NONE);
    fresh.Faults().addParamFailAtCall = failAt;
    fresh.Faults().addParamError = 600 + failAt;
    EXPECT_EQ(fresh.ParamsSetup(), 600 + failAt);
    EXPECT_EQ(fresh.Records().addParamCalls, failAt);
    EXPECT_EQ(fresh.Params().Count(), failAt);  // the input layer and the definitions before the failure
    EXPECT_EQ(fresh.OutData().num_params, 17);
    fresh.GlobalSetdown();
  }
}

TEST_F(ParamsSetupTest, MissingRecordsOrCallbacksAnswer516WithoutADefinition) {
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  PF_InData noUtils = host.InData();
  noUtils.utils = nullptr;
  PF_InData noAddParam = host.InData();
  noAddParam.inter.add_param = nullptr;
  const struct {
    const char* what;
    PF_InData* in;
    PF_OutData* out;
  } cases[] = {{"no in_data", nullptr, &host.OutData()},
               {"no out_data", &host.InData(), nullptr},
               {"no utility callbacks", &noUtils, &host.OutData()},
               {"no add_param", &noAddParam, &host.OutData()}};
  for (const auto& c : cases) {
    EXPECT_EQ(host.SendRaw(PF_Cmd_PARAMS_SETUP, c.in, c.out, nullptr, nullptr, nullptr), PF_Err_BAD_CALLBACK_PARAM)
        << c.what;
    EXPECT_EQ(host.Records().addParamCalls, 0) << c.what;
  }
  host.GlobalSetdown();
}

TEST_F(ParamsSetupTest, WithoutAStringTableTheEnglishTextsAreUsed) {
  // Global set-up fails before it can make the string table.
  host.Faults().missingSuites.insert(kPFAppSuite);
  host.SetLanguageTag("zh_CN");
  EXPECT_NE(host.GlobalSetup(), PF_Err_NONE);
  host.Faults().missingSuites.clear();
  EXPECT_EQ(host.ParamsSetup(), PF_Err_NONE);
  ExpectGoldenDefinitions(host, Language::English);
}

// The readers, on the host's parameters right after set-up, give the values
// the user sees by default; the centre comes back at the layer's middle.
TEST_F(ParamsSetupTest, DefaultsReadBackThroughTheReaders) {
  TestHost::World layer = TestHost::World::Make8(40, 30);
  host.SetInputLayer(layer);
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  ASSERT_EQ(host.ParamsSetup(), PF_Err_NONE);
  PF_InData* in = &host.InData();
  PF_OutData* out = &host.OutData();

  int32_t lensShape = -1, mapType = -1, quality = -1, strength = -1, feather = -1;
  double scaleX = 0, scaleY = 0, rotation = -1, focal = -1, gamma = 0;
  bool show = true, invert = true;
  Vec2d center;
  EXPECT_TRUE(ReadPopupParam(in, out, 1, &lensShape));
  EXPECT_TRUE(ReadIntParam(in, out, 2, &strength));
  EXPECT_TRUE(ReadCheckboxParam(in, out, 4, &show));
  EXPECT_TRUE(ReadPopupParam(in, out, 5, &mapType));
  EXPECT_TRUE(ReadIntParam(in, out, 7, &feather));
  EXPECT_TRUE(ReadPointParam(in, out, 8, &center));
  EXPECT_TRUE(ReadPercentParam(in, out, 9, &scaleX));
  EXPECT_TRUE(ReadPercentParam(in, out, 10, &scaleY));
  EXPECT_TRUE(ReadAngleParam(in, out, 11, &rotation));
  EXPECT_TRUE(ReadPercentParam(in, out, 12, &focal));
  EXPECT_TRUE(ReadCheckboxParam(in, out, 13, &invert));
  EXPECT_TRUE(ReadPopupParam(in, out, 15, &quality));
  EXPECT_TRUE(ReadNumberParam(in, out, 16, &gamma));

  EXPECT_EQ(lensShape, 1);  // Hexagon
  EXPECT_EQ(strength, 20);
  EXPECT_FALSE(show);
  EXPECT_EQ(mapType, 0);  // None
  EXPECT_EQ(feather, 250);
  EXPECT_EQ(center.x, 20.0);
  EXPECT_EQ(center.y, 15.0);
  EXPECT_EQ(scaleX, 1.0);
  EXPECT_EQ(scaleY, 1.0);
  EXPECT_EQ(rotation, 0.0);
  EXPECT_EQ(focal, 0.0);
  EXPECT_FALSE(invert);
  EXPECT_EQ(quality, 1);  // Low->Fast
  EXPECT_EQ(gamma, 2.2);
  EXPECT_EQ(host.Records().OutstandingCheckouts(), 0);
  EXPECT_EQ(host.Records().unmatchedCheckins, 0);
  host.GlobalSetdown();
}

TEST_F(ParamsSetupTest, ReadersTakeTheValueAtTheRenderTime) {
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  ASSERT_EQ(host.ParamsSetup(), PF_Err_NONE);
  host.Params().SetSlider(2, 7);
  host.Params().SetSlider(2, 33, 2000);
  const struct {
    A_long time;
    int32_t strength;
  } cases[] = {{0, 7}, {2000, 33}, {2001, 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.time);
    host.SetTime(c.time, 100, 1000);
    int32_t strength = -1;
    EXPECT_TRUE(ReadIntParam(&host.InData(), &host.OutData(), 2, &strength));
    EXPECT_EQ(strength, c.strength);
  }
  EXPECT_EQ(host.Records().OutstandingCheckouts(), 0);
  host.GlobalSetdown();
}

TEST(ParamNameLength, CutsAtTheFieldAndAtCharacterBoundaries) {
  const std::string dbcs = "\xC0\xA0";  // one code page 936 character
  std::string sixteen;
  for (int i = 0; i < 16; ++i) sixteen += dbcs;
  const struct {
    std::string text;
    std::size_t length;
  } cases[] = {
      {"", 0},
      {"Blur Focal Distance", 19},
      {std::string(31, 'a'), 31},
      {std::string(40, 'a'), 31},
      {sixteen, 30},                       // the 16th character would need bytes 31 and 32
      {sixteen.substr(0, 30) + "ab", 31},  // 15 characters and one ASCII byte
      {std::string(30, 'a') + dbcs, 30},   // a character that would straddle the end
      {"ab\xC0", 3},                       // a lone lead byte at the end counts as one
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParamNameLength(c.text.c_str()), c.length);
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::ParamsTest
