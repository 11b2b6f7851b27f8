// One host suite, acquired by name and version through the host's basic suite
// and released when the holder goes out of scope (also while an exception
// unwinds). Holders in one scope release in reverse order of acquisition, as
// C++ destroys locals. Beside the API it wraps, so the GL runtime and the
// effect shell both acquire suites through it.
#pragma once

#include <string>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

class HostSuiteHolder {
public:
  // Throws the int A_Err_MISSING_SUITE (13) when the suite cannot be had: a
  // failed acquisition, a host that answers success with no suite, or no basic
  // suite at all. No holder exists then, so nothing is released.
  HostSuiteHolder(const SPBasicSuite* basic, const char* name, int32_t version)
      : basicSuite(basic), suiteName(name != nullptr ? name : ""), suiteVersion(version) {
    if (basicSuite == nullptr || basicSuite->AcquireSuite == nullptr || name == nullptr) {
      throw static_cast<int>(A_Err_MISSING_SUITE);
    }
    const void* acquired = nullptr;
    const SPErr err = basicSuite->AcquireSuite(suiteName.c_str(), suiteVersion, &acquired);
    if (err != 0) {
      throw static_cast<int>(A_Err_MISSING_SUITE);
    }
    suiteRecord = acquired;
    if (suiteRecord == nullptr) {
      // The host claims success but gave nothing: give back what it counted
      // as acquired, and treat the suite as missing.
      Release();
      throw static_cast<int>(A_Err_MISSING_SUITE);
    }
  }

  // Convenience for the usual source of the basic suite.
  HostSuiteHolder(const PF_InData* in_data, const char* name, int32_t version)
      : HostSuiteHolder(in_data != nullptr ? in_data->pica_basicP : nullptr, name, version) {}

  HostSuiteHolder(const HostSuiteHolder&) = delete;
  HostSuiteHolder& operator=(const HostSuiteHolder&) = delete;

  ~HostSuiteHolder() {
    if (suiteRecord != nullptr) {
      Release();
    }
  }

  // The suite's function record, typed by the caller (e.g. PF_ANSICallbacksSuite1).
  template <typename Suite>
  const Suite& Get() const {
    return *static_cast<const Suite*>(suiteRecord);
  }

  const std::string& Name() const { return suiteName; }
  int32_t Version() const { return suiteVersion; }

private:
  void Release() noexcept {
    if (basicSuite->ReleaseSuite != nullptr) {
      basicSuite->ReleaseSuite(suiteName.c_str(), suiteVersion);
    }
  }

  const SPBasicSuite* basicSuite;
  std::string suiteName;
  int32_t suiteVersion;
  const void* suiteRecord = nullptr;
};

}  // namespace Orvane::Lumisk
