// The 16 definitions the host must receive, written out field by field from
// the product's parameter list (not from the effect's own table), with the
// texts in both languages as UTF-8.
#pragma once

#include <cstring>
#include <vector>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk::ParamsTest {

struct GoldenParam {
  PF_ParamDef def;          // every field but the name and the text pointer
  const char* englishName;  // null: the name stays all zero
  const char* chineseName;
  const char* englishText;  // popup items or checkbox label; null: none
  const char* chineseText;
};

std::vector<GoldenParam> GoldenParams();

}  // namespace Orvane::Lumisk::ParamsTest
