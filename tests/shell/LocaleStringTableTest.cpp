// The localised string table: the 18 texts in both languages (the Chinese ones
// checked against the C library's conversion of their UTF-8 form), look-up fall-backs,
// updates in place, and bounded copies.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "effect/LocaleStringTable.h"
#include "effect/ModuleGlobals.h"
#include "tests/params/Cp936.h"

namespace {

using Orvane::Lumisk::LocaleStringTable;

constexpr int32_t kChinese = 0;
constexpr int32_t kEnglish = 1;

std::string Cp936FromUtf8(const std::string& utf8) {
  return Orvane::Lumisk::ParamsTest::ToCp936(utf8);
}

struct Entry {
  const char* key;
  const char* english;
  const char* chineseUtf8;
  std::size_t chineseBytes;  // its length in code page 936
};

const Entry kEntries[] = {
    {"Lens Shape", "Lens Shape", "透镜形状", 8},
    {"Lens Shapes", "Circular|Hexagon|Pentagon", "圆形|六边形|五边形", 18},
    {"Blur Strength", "Blur Strength", "模糊强度", 8},
    {"Blur Map", "Blur Map", "模糊映射图", 10},
    {"Show", "Show", "显示", 4},
    {"BokehMapType", "None|Linear 2 colors|Linear 3 colors|Circle|Square|Custom Layer",
     "无|线性2色|线性3色|圆形|方形|自定义图层", 39},
    {"Custom Layer", "Custom Layer", "自定义图层", 10},
    {"Feather", "Feather", "羽化", 4},
    {"Center", "Center", "中心", 4},
    {"Scale X", "Scale X", "X轴缩放", 7},
    {"Scale Y", "Scale Y", "Y轴缩放", 7},
    {"Rotation", "Rotation", "旋转", 4},
    {"Blur Focal Distance", "Blur Focal Distance", "模糊焦距", 8},
    {"Invert", "Invert", "反转", 4},
    {"Quality", "Quality", "质量", 4},
    {"Qualities", "High->Slow|Low->Fast", "高质量（渲染慢）|低质量（渲染快）", 33},
    {"Gamma", "Gamma", "伽马值", 6},
    {"Type", "Type", "类型", 4},
};

TEST(LocaleStringTable, HoldsTheEighteenEntries) {
  EXPECT_EQ(LocaleStringTable(kEnglish).Size(), std::size(kEntries));
  EXPECT_EQ(LocaleStringTable(kChinese).Size(), std::size(kEntries));
}

TEST(LocaleStringTable, ChineseHostGetsCodePage936Bytes) {
  const LocaleStringTable table(kChinese);
  for (const Entry& entry : kEntries) {
    const std::string expected = Cp936FromUtf8(entry.chineseUtf8);
    EXPECT_EQ(expected.size(), entry.chineseBytes) << entry.key;
    EXPECT_EQ(std::string(table.Lookup(entry.key)), expected) << entry.key;
  }
}

TEST(LocaleStringTable, EveryOtherLanguageGetsEnglish) {
  for (const int32_t language : {1, 2, 5, 7, 99, -1}) {
    const LocaleStringTable table(language);
    for (const Entry& entry : kEntries) {
      EXPECT_STREQ(table.Lookup(entry.key), entry.english) << entry.key << " in language " << language;
    }
  }
}

TEST(LocaleStringTable, UnknownKeyComesBackAsItself) {
  const LocaleStringTable table(kChinese);
  for (const char* key : {"lens shape", "Lens Shape ", "Lens", "", "\xCD\xB8"}) {
    EXPECT_EQ(table.Lookup(key), key) << '"' << key << '"';
  }
  EXPECT_STREQ(table.Lookup(nullptr), "");
}

TEST(LocaleStringTable, EmptyChineseTextFallsBackToEnglish) {
  LocaleStringTable table(kChinese);
  table.Add("Extra", "Extra text", "");
  EXPECT_STREQ(table.Lookup("Extra"), "Extra text");
  table.Add("Other", "Other text", nullptr);
  EXPECT_STREQ(table.Lookup("Other"), "Other text");
}

TEST(LocaleStringTable, AddingAnExistingKeyUpdatesItsRecordInPlace) {
  LocaleStringTable table(kChinese);
  const char* before = table.Lookup("Feather");
  table.Add("Feather", "Softness", "\xC8\xE1");
  EXPECT_EQ(table.Size(), std::size(kEntries));
  EXPECT_EQ(table.Lookup("Feather"), before) << "same record, changed in place";
  EXPECT_STREQ(table.Lookup("Feather"), "\xC8\xE1");
}

TEST(LocaleStringTable, WithoutEnglishTextOnlyAChineseHostTakesTheTranslation) {
  LocaleStringTable chinese(kChinese);
  chinese.Add("Show", "", "\xC8\xE1");
  EXPECT_STREQ(chinese.Lookup("Show"), "\xC8\xE1");

  LocaleStringTable english(kEnglish);
  english.Add("Show", nullptr, "\xC8\xE1");
  EXPECT_STREQ(english.Lookup("Show"), "Show");
  english.Add("Brand new", nullptr, "\xC8\xE1");
  EXPECT_STREQ(english.Lookup("Brand new"), "") << "a new record keeps its empty English text";
}

TEST(LocaleStringTable, LongTextsAreCutTo255Bytes) {
  LocaleStringTable table(kEnglish);
  const std::string longText(300, 'a');
  table.Add("Long", longText.c_str(), nullptr);
  EXPECT_EQ(std::string(table.Lookup("Long")), std::string(255, 'a'));
}

TEST(LocaleStringTable, CutNeverSplitsAChineseCharacter) {
  LocaleStringTable table(kChinese);
  std::string chinese = "AB";
  for (int i = 0; i < 200; ++i) {
    chinese += "\xD6\xD0";
  }
  table.Add("Long", "Long", chinese.c_str());
  // 2 + 126 characters of 2 bytes fit in 255; a 127th would need byte 256.
  EXPECT_EQ(std::string(table.Lookup("Long")), chinese.substr(0, 254));
}

TEST(LocalizedText, WithoutATableGivesTheEnglishTexts) {
  ASSERT_EQ(Orvane::Lumisk::gStringTable, nullptr);
  for (const Entry& entry : kEntries) {
    EXPECT_STREQ(Orvane::Lumisk::LocalizedText(entry.key), entry.english) << entry.key;
  }
  EXPECT_STREQ(Orvane::Lumisk::LocalizedText("not a key"), "not a key");
}

TEST(LocalizedText, UsesTheModuleTableWhenThereIsOne) {
  LocaleStringTable chinese(kChinese);
  Orvane::Lumisk::gStringTable = &chinese;
  EXPECT_EQ(Orvane::Lumisk::LocalizedText("Lens Shape"), chinese.Lookup("Lens Shape"));
  Orvane::Lumisk::gStringTable = nullptr;
}

}  // namespace
