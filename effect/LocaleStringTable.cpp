#include "effect/LocaleStringTable.h"

#include "effect/HostLanguage.h"

namespace Orvane::Lumisk {

namespace {

bool HasText(const char* text) {
  return text != nullptr && text[0] != '\0';
}

}  // namespace

LocaleStringTable::LocaleStringTable(PF_InData* in_data) : LocaleStringTable(GetHostLanguageIndex(in_data)) {}

LocaleStringTable::LocaleStringTable(int32_t languageIndex) : language(languageIndex) {
  Fill();
}

LocaleStringTable::~LocaleStringTable() {
  // Records go in key order, before the map itself.
  for (auto& entry : entries) {
    entry.second.reset();
  }
}

const char* LocaleStringTable::Lookup(const char* key) const {
  if (key == nullptr) {
    return "";
  }
  const auto found = entries.find(key);
  if (found == entries.end()) {
    return key;
  }
  const LocaleRecord& record = *found->second;
  if (language == kLanguageSimplifiedChinese && record.translated[0] != '\0') {
    return record.translated;
  }
  return record.english;
}

void LocaleStringTable::Add(const char* key, const char* englishText, const char* chineseText) {
  if (key == nullptr) {
    return;
  }
  auto& slot = entries[key];
  if (!slot) {
    slot = std::make_unique<LocaleRecord>();
  }
  LocaleRecord& record = *slot;
  if (HasText(englishText)) {
    CopyLocaleText(englishText, record.english);
    // Without a translation the English text serves both languages.
    CopyLocaleText(HasText(chineseText) ? chineseText : englishText, record.translated);
  } else if (HasText(chineseText) && language == kLanguageSimplifiedChinese) {
    CopyLocaleText(chineseText, record.translated);
  }
}

void LocaleStringTable::Fill() {
  // Chinese texts as code page 936 bytes; a hex escape followed by a digit
  // needs the literal split ("\xD4" "2").
  Add("Lens Shape", "Lens Shape", "\xCD\xB8\xBE\xB5\xD0\xCE\xD7\xB4");
  Add("Lens Shapes", "Circular|Hexagon|Pentagon", "\xD4\xB2\xD0\xCE|\xC1\xF9\xB1\xDF\xD0\xCE|\xCE\xE5\xB1\xDF\xD0\xCE");
  Add("Blur Strength", "Blur Strength", "\xC4\xA3\xBA\xFD\xC7\xBF\xB6\xC8");
  Add("Blur Map", "Blur Map", "\xC4\xA3\xBA\xFD\xD3\xB3\xC9\xE4\xCD\xBC");
  Add("Show", "Show", "\xCF\xD4\xCA\xBE");
  Add("BokehMapType", "None|Linear 2 colors|Linear 3 colors|Circle|Square|Custom Layer",
      "\xCE\xDE|\xCF\xDF\xD0\xD4"
      "2\xC9\xAB|\xCF\xDF\xD0\xD4"
      "3\xC9\xAB|\xD4\xB2\xD0\xCE|\xB7\xBD\xD0\xCE|\xD7\xD4\xB6\xA8\xD2\xE5\xCD\xBC\xB2\xE3");
  Add("Custom Layer", "Custom Layer", "\xD7\xD4\xB6\xA8\xD2\xE5\xCD\xBC\xB2\xE3");
  Add("Feather", "Feather", "\xD3\xF0\xBB\xAF");
  Add("Center", "Center", "\xD6\xD0\xD0\xC4");
  Add("Scale X", "Scale X", "X\xD6\xE1\xCB\xF5\xB7\xC5");
  Add("Scale Y", "Scale Y", "Y\xD6\xE1\xCB\xF5\xB7\xC5");
  Add("Rotation", "Rotation", "\xD0\xFD\xD7\xAA");
  Add("Blur Focal Distance", "Blur Focal Distance", "\xC4\xA3\xBA\xFD\xBD\xB9\xBE\xE0");
  Add("Invert", "Invert", "\xB7\xB4\xD7\xAA");
  Add("Quality", "Quality", "\xD6\xCA\xC1\xBF");
  Add("Qualities", "High->Slow|Low->Fast",
      "\xB8\xDF\xD6\xCA\xC1\xBF\xA3\xA8\xE4\xD6\xC8\xBE\xC2\xFD\xA3\xA9|"
      "\xB5\xCD\xD6\xCA\xC1\xBF\xA3\xA8\xE4\xD6\xC8\xBE\xBF\xEC\xA3\xA9");
  Add("Gamma", "Gamma", "\xD9\xA4\xC2\xED\xD6\xB5");
  Add("Type", "Type", "\xC0\xE0\xD0\xCD");
}

}  // namespace Orvane::Lumisk
