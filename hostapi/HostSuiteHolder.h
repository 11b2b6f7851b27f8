// One host suite, acquired by name and version through the host's basic suite
// and released when the holder goes out of scope (also while an exception
// unwinds). Holders in one scope release in reverse order of acquisition, as
// C++ destroys locals. Beside the API it wraps, so the GL runtime and the
// effect shell both acquire suites through it.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

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
  // A record with a null function throws the int PF_Err_BAD_CALLBACK_PARAM
  // (516) before the caller can call through it; the holder still releases
  // the suite as it unwinds.
  template <typename Suite>
  const Suite& Get() const {
    const Suite& suite = *static_cast<const Suite*>(suiteRecord);
    if (!EveryFunctionPresent(suite)) {
      throw static_cast<int>(PF_Err_BAD_CALLBACK_PARAM);
    }
    return suite;
  }

  const std::string& Name() const { return suiteName; }
  int32_t Version() const { return suiteVersion; }

private:
  // Our suite records hold nothing but the functions the effect calls, so
  // every pointer-sized slot of one is a function that must be there.
  template <typename Suite>
  static bool EveryFunctionPresent(const Suite& suite) {
    using AnyFunction = void (*)();
    static_assert(std::is_trivially_copyable_v<Suite> && sizeof(Suite) % sizeof(AnyFunction) == 0,
                  "a suite record is a list of function pointers");
    std::array<std::uintptr_t, sizeof(Suite) / sizeof(AnyFunction)> slots{};
    static_assert(sizeof slots == sizeof(Suite), "a function pointer is as wide as an address");
    std::memcpy(slots.data(), &suite, sizeof slots);
    for (const std::uintptr_t slot : slots) {
      if (slot == 0) return false;
    }
    return true;
  }

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
