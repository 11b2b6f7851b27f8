#include "instruments/HostRecords.h"

#include <algorithm>

namespace Orvane::Lumisk::TestHost {

namespace {

bool Succeeded(const SuiteCall& call, SuiteCall::Kind kind) {
  return call.kind == kind && call.result == 0;
}

// Successful acquisitions minus successful releases, of one name or of all.
int Outstanding(const std::vector<SuiteCall>& calls, const std::string* name) {
  int outstanding = 0;
  for (const SuiteCall& call : calls) {
    if (name == nullptr || call.name == *name) {
      outstanding += Succeeded(call, SuiteCall::Kind::kAcquire) ? 1 : 0;
      outstanding -= Succeeded(call, SuiteCall::Kind::kRelease) ? 1 : 0;
    }
  }
  return outstanding;
}

std::vector<std::string> NamesOf(const std::vector<SuiteCall>& calls, SuiteCall::Kind kind) {
  std::vector<std::string> names;
  for (const SuiteCall& call : calls) {
    if (Succeeded(call, kind)) {
      names.push_back(call.name);
    }
  }
  return names;
}

}  // namespace

int HostRecords::OutstandingSuites() const {
  return Outstanding(suiteCalls, nullptr);
}

int HostRecords::OutstandingSuite(const std::string& name) const {
  return Outstanding(suiteCalls, &name);
}

std::vector<std::string> HostRecords::AcquiredNames() const {
  return NamesOf(suiteCalls, SuiteCall::Kind::kAcquire);
}

std::vector<std::string> HostRecords::ReleasedNames() const {
  return NamesOf(suiteCalls, SuiteCall::Kind::kRelease);
}

int HostRecords::OutstandingCheckouts() const {
  const auto succeeded =
      std::count_if(checkouts.begin(), checkouts.end(), [](const CheckoutCall& call) { return call.result == 0; });
  return static_cast<int>(succeeded) - (checkins - unmatchedCheckins);
}

int HostRecords::CountCalls(const std::string& prefix) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
    return call.compare(0, prefix.size(), prefix) == 0;
  }));
}

}  // namespace Orvane::Lumisk::TestHost
