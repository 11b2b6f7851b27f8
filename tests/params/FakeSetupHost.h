// A minimal host for parameter set-up: add_param keeps a byte copy of every
// definition and the texts its pointers name, can fail at a chosen call, and
// the basic suite answers the language query with a chosen tag.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "hostapi/HostEffectApi.h"
#include "hostapi/HostSuites.h"

namespace Orvane::Lumisk::ParamsTest {

struct AddedParam {
  PF_ParamIndex index;      // what add_param was called with
  PF_ParamDef def;          // byte copy as the host received it
  const char* textPointer;  // popup items or checkbox label, as handed over
  std::string text;         // what that pointer named at add time
};

class FakeSetupHost {
 public:
  explicit FakeSetupHost(const char* languageTag = "en_US") {
    std::memset(&inData, 0, sizeof inData);
    std::memset(&outData, 0, sizeof outData);
    std::memset(tag, 0, sizeof tag);
    std::memcpy(tag, languageTag, std::strlen(languageTag));
    Current() = this;
    utils.ansi.strcpy = [](A_char* dest, const A_char* src) { return std::strcpy(dest, src); };
    basic.AcquireSuite = &Acquire;
    basic.ReleaseSuite = &Release;
    appSuite.PF_AppGetLanguage = &GetLanguage;
    inData.utils = &utils;
    inData.pica_basicP = &basic;
    inData.effect_ref = reinterpret_cast<PF_ProgPtr>(this);
    inData.inter.add_param = &AddParam;
  }
  ~FakeSetupHost() { Current() = nullptr; }
  FakeSetupHost(const FakeSetupHost&) = delete;
  FakeSetupHost& operator=(const FakeSetupHost&) = delete;

  PF_InData inData;
  PF_OutData outData;
  std::vector<AddedParam> added;
  int addCalls = 0;
  int failAtCall = 0;  // 1-based; 0 never fails
  PF_Err failure = PF_Err_INTERNAL_STRUCT_DAMAGED;

 private:
  static FakeSetupHost*& Current() {
    static FakeSetupHost* current = nullptr;
    return current;
  }

  static PF_Err AddParam(PF_ProgPtr ref, PF_ParamIndex index, PF_ParamDefPtr def) {
    FakeSetupHost& host = *reinterpret_cast<FakeSetupHost*>(ref);
    if (++host.addCalls == host.failAtCall) return host.failure;
    AddedParam added{index, *def, nullptr, {}};
    if (def->param_type == PF_Param_POPUP) added.textPointer = def->u.pd.u.namesptr;
    if (def->param_type == PF_Param_CHECKBOX) added.textPointer = def->u.bd.u.nameptr;
    if (added.textPointer != nullptr) added.text = added.textPointer;
    host.added.push_back(added);
    return PF_Err_NONE;
  }

  static SPErr Acquire(const char* name, int32_t version, const void** suite) {
    if (std::strcmp(name, kPFAppSuite) != 0 || version != kPFAppSuiteVersion7) return A_Err_MISSING_SUITE;
    *suite = &Current()->appSuite;
    return A_Err_NONE;
  }
  static SPErr Release(const char*, int32_t) { return A_Err_NONE; }
  static PF_Err GetLanguage(A_char lang_tagZ[PF_APP_LANG_TAG_SIZE]) {
    std::memcpy(lang_tagZ, Current()->tag, PF_APP_LANG_TAG_SIZE);
    return PF_Err_NONE;
  }

  char tag[PF_APP_LANG_TAG_SIZE];
  PF_UtilCallbacks utils{};
  SPBasicSuite basic{};
  PF_AppSuite7 appSuite{};
};

}  // namespace Orvane::Lumisk::ParamsTest
