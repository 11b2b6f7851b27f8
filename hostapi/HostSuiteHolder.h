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
      : basic_(basic), name_(name != nullptr ? name : ""), version_(version) {
    if (basic_ == nullptr || basic_->AcquireSuite == nullptr || name == nullptr) {
      throw static_cast<int>(A_Err_MISSING_SUITE);
    }
    const void* suite = nullptr;
    const SPErr err = basic_->AcquireSuite(name_.c_str(), version_, &suite);
    if (err != 0) {
      throw static_cast<int>(A_Err_MISSING_SUITE);
    }
    suite_ = suite;
    if (suite_ == nullptr) {
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
    if (suite_ != nullptr) {
      Release();
    }
  }

  // The suite's function record, typed by the caller (e.g. PF_ANSICallbacksSuite1).
  template <typename Suite>
  const Suite& Get() const {
    return *static_cast<const Suite*>(suite_);
  }

  const std::string& Name() const { return name_; }
  int32_t Version() const { return version_; }

 private:
  void Release() noexcept {
    if (basic_->ReleaseSuite != nullptr) {
      basic_->ReleaseSuite(name_.c_str(), version_);
    }
  }

  const SPBasicSuite* basic_;
  std::string name_;
  int32_t version_;
  const void* suite_ = nullptr;
};

}  // namespace Orvane::Lumisk
