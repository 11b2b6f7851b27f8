// The host's language tag as the string table's language index.
#include <array>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "effect/HostLanguage.h"
#include "effect/LocaleStringTable.h"
#include "instruments/TestHost.h"

namespace {

using Orvane::Lumisk::GetHostLanguageIndex;
using Orvane::Lumisk::TestHost::Host;
using Tag = std::array<A_char, PF_APP_LANG_TAG_SIZE>;

PF_Err NoEntry(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*, void*) {
  return PF_Err_NONE;
}

struct TagCase {
  const char* label;
  Tag tag;
  int32_t index;
};

// Test names and failure messages show the row's label.
void PrintTo(const TagCase& row, std::ostream* os) {
  *os << row.label;
}

class HostLanguageTag : public ::testing::TestWithParam<TagCase> {};

TEST_P(HostLanguageTag, GivesItsIndex) {
  Host host(&NoEntry);
  host.SetLanguageTag(GetParam().tag);
  EXPECT_EQ(GetHostLanguageIndex(&host.InData()), GetParam().index);
  EXPECT_EQ(host.Records().AcquiredNames(), std::vector<std::string>{"PF AE App Suite"});
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, HostLanguageTag,
    ::testing::Values(
        TagCase{"zh_CN", {'z', 'h', '_', 'C', 'N', 0}, 0}, TagCase{"en_US", {'e', 'n', '_', 'U', 'S', 0}, 1},
        TagCase{"fr_FR", {'f', 'r', '_', 'F', 'R', 0}, 2}, TagCase{"de_DE", {'d', 'e', '_', 'D', 'E', 0}, 3},
        TagCase{"it_IT", {'i', 't', '_', 'I', 'T', 0}, 4}, TagCase{"ja_JP", {'j', 'a', '_', 'J', 'P', 0}, 5},
        TagCase{"ko_KR", {'k', 'o', '_', 'K', 'R', 0}, 6}, TagCase{"es_ES", {'e', 's', '_', 'E', 'S', 0}, 7},
        TagCase{"zh_TW", {'z', 'h', '_', 'T', 'W', 0}, 1}, TagCase{"pt_BR", {'p', 't', '_', 'B', 'R', 0}, 1},
        TagCase{"LowerCase", {'z', 'h', '_', 'c', 'n', 0}, 1}, TagCase{"Empty", {0, 0, 0, 0, 0, 0}, 1},
        TagCase{"Prefix", {'z', 'h', 0, 0, 0, 0}, 1},
        // Six characters and no terminating zero: no row matches, not even zh_CN.
        TagCase{"Unterminated", {'z', 'h', '_', 'C', 'N', 'X'}, 1}),
    [](const ::testing::TestParamInfo<TagCase>& row) { return std::string(row.param.label); });

TEST(HostLanguage, FailedLanguageCallGivesEnglish) {
  Host host(&NoEntry);
  host.SetLanguageTag("zh_CN");
  host.Faults().languageError = PF_Err_BAD_CALLBACK_PARAM;
  EXPECT_EQ(GetHostLanguageIndex(&host.InData()), 1);
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
}

TEST(HostLanguage, MissingAppSuiteThrows13) {
  Host host(&NoEntry);
  host.Faults().missingSuites.insert("PF AE App Suite");
  try {
    GetHostLanguageIndex(&host.InData());
    FAIL() << "no exception";
  } catch (int code) {
    EXPECT_EQ(code, 13);
  }
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
  // The table's constructor passes it on, and nothing is left behind.
  EXPECT_THROW(Orvane::Lumisk::LocaleStringTable{&host.InData()}, int);
}

TEST(HostLanguage, TableAsksTheHostOnce) {
  Host host(&NoEntry);
  host.SetLanguageTag("zh_CN");
  const Orvane::Lumisk::LocaleStringTable table(&host.InData());
  EXPECT_EQ(table.Language(), 0);
  EXPECT_EQ(host.Records().languageQueries, 1);
}

}  // namespace
