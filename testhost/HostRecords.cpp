#include "testhost/HostRecords.h"

#include <algorithm>

namespace Orvane::Lumisk::TestHost {

namespace {

bool Succeeded(const SuiteCall& call, SuiteCall::Kind kind) { return call.kind == kind && call.result == 0; }

}  // namespace

int HostRecords::OutstandingSuites() const {
  int outstanding = 0;
  for (const SuiteCall& call : suiteCalls) {
    outstanding += Succeeded(call, SuiteCall::Kind::kAcquire) ? 1 : 0;
    outstanding -= Succeeded(call, SuiteCall::Kind::kRelease) ? 1 : 0;
  }
  return outstanding;
}

int HostRecords::OutstandingSuite(const std::string& name) const {
  int outstanding = 0;
  for (const SuiteCall& call : suiteCalls) {
    if (call.name == name) {
      outstanding += Succeeded(call, SuiteCall::Kind::kAcquire) ? 1 : 0;
      outstanding -= Succeeded(call, SuiteCall::Kind::kRelease) ? 1 : 0;
    }
  }
  return outstanding;
}

std::vector<std::string> HostRecords::AcquiredNames() const {
  std::vector<std::string> names;
  for (const SuiteCall& call : suiteCalls) {
    if (Succeeded(call, SuiteCall::Kind::kAcquire)) {
      names.push_back(call.name);
    }
  }
  return names;
}

std::vector<std::string> HostRecords::ReleasedNames() const {
  std::vector<std::string> names;
  for (const SuiteCall& call : suiteCalls) {
    if (Succeeded(call, SuiteCall::Kind::kRelease)) {
      names.push_back(call.name);
    }
  }
  return names;
}

int HostRecords::OutstandingCheckouts() const {
  const auto succeeded = std::count_if(checkouts.begin(), checkouts.end(),
                                       [](const CheckoutCall& call) { return call.result == 0; });
  return static_cast<int>(succeeded) - (checkins - unmatchedCheckins);
}

int HostRecords::CountCalls(const std::string& prefix) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
    return call.compare(0, prefix.size(), prefix) == 0;
  }));
}

}  // namespace Orvane::Lumisk::TestHost
