#include "effect/HostLanguage.h"

#include <cstring>

#include "hostapi/HostSuiteHolder.h"
#include "hostapi/HostSuites.h"

namespace Orvane::Lumisk {

namespace {

struct LanguageTag {
  A_char tag[PF_APP_LANG_TAG_SIZE];
  int32_t index;
};

// First match wins.
constexpr LanguageTag kLanguageTags[] = {
    {"zh_CN", 0}, {"en_US", 1}, {"fr_FR", 2}, {"de_DE", 3}, {"it_IT", 4}, {"ja_JP", 5}, {"ko_KR", 6}, {"es_ES", 7},
};

}  // namespace

int32_t LanguageIndexOfTag(const A_char (&tag)[PF_APP_LANG_TAG_SIZE]) {
  for (const LanguageTag& known : kLanguageTags) {
    if (std::memcmp(tag, known.tag, sizeof known.tag) == 0) {
      return known.index;
    }
  }
  return kLanguageEnglish;
}

int32_t GetHostLanguageIndex(PF_InData* in_data) {
  const HostSuiteHolder app(in_data, kPFAppSuite, kPFAppSuiteVersion7);
  A_char tag[PF_APP_LANG_TAG_SIZE] = {};
  // The result is not examined: a call that fails leaves the zeroed tag.
  app.Get<PF_AppSuite7>().PF_AppGetLanguage(tag);
  return LanguageIndexOfTag(tag);
}

}  // namespace Orvane::Lumisk
