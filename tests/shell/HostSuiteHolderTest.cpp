// HostSuiteHolder: acquisition by name and version, 13 on failure, release in
// reverse order at scope exit, also while an exception unwinds.
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hostapi/HostSuiteHolder.h"
#include "hostapi/HostSuites.h"
#include "instruments/TestHost.h"

namespace {

using Orvane::Lumisk::HostSuiteHolder;
using Orvane::Lumisk::TestHost::Host;
using Names = std::vector<std::string>;

PF_Err NoEntry(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*, void*) {
  return PF_Err_NONE;
}

int ThrownCode(const std::function<void()>& action) {
  try {
    action();
  } catch (int code) {
    return code;
  }
  return 0;
}

class HostSuiteHolderTest : public ::testing::Test {
protected:
  Host host{&NoEntry};
};

TEST_F(HostSuiteHolderTest, HandsOutTheSuiteAndReleasesInReverseOrder) {
  {
    const HostSuiteHolder ansi(&host.InData(), kPFANSISuite, kPFANSISuiteVersion1);
    const HostSuiteHolder app(&host.InData(), kPFAppSuite, kPFAppSuiteVersion7);
    const HostSuiteHolder handles(&host.InData(), kPFHandleSuite, kPFHandleSuiteVersion2);
    EXPECT_NE(ansi.Get<PF_ANSICallbacksSuite1>().sprintf, nullptr);
    EXPECT_NE(app.Get<PF_AppSuite7>().PF_AppGetLanguage, nullptr);
    EXPECT_EQ(host.Records().OutstandingSuites(), 3);
  }
  EXPECT_EQ(host.Records().AcquiredNames(), (Names{"PF ANSI Suite", "PF AE App Suite", "PF Handle Suite"}));
  EXPECT_EQ(host.Records().ReleasedNames(), (Names{"PF Handle Suite", "PF AE App Suite", "PF ANSI Suite"}));
  EXPECT_EQ(host.Records().suiteCalls.back().version, kPFANSISuiteVersion1);
}

TEST_F(HostSuiteHolderTest, ReleasesWhileAnExceptionUnwinds) {
  EXPECT_EQ(ThrownCode([&] {
              const HostSuiteHolder ansi(&host.InData(), kPFANSISuite, kPFANSISuiteVersion1);
              const HostSuiteHolder app(&host.InData(), kPFAppSuite, kPFAppSuiteVersion7);
              throw 4;
            }),
            4);
  EXPECT_EQ(host.Records().ReleasedNames(), (Names{"PF AE App Suite", "PF ANSI Suite"}));
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
}

TEST_F(HostSuiteHolderTest, MissingSuiteThrows13AndReleasesOnlyWhatWasHeld) {
  host.Faults().missingSuites.insert(kPFHandleSuite);
  EXPECT_EQ(ThrownCode([&] {
              const HostSuiteHolder ansi(&host.InData(), kPFANSISuite, kPFANSISuiteVersion1);
              const HostSuiteHolder handles(&host.InData(), kPFHandleSuite, kPFHandleSuiteVersion2);
            }),
            13);
  EXPECT_EQ(host.Records().ReleasedNames(), Names{"PF ANSI Suite"});
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
}

// A record with any one function null is refused before the caller can call
// through it; the suite was acquired, so it is given back as the throw unwinds.
TEST_F(HostSuiteHolderTest, ARecordWithANullFunctionThrows516AndIsReleased) {
  for (const char* function : {"host_new_handle", "host_lock_handle", "host_unlock_handle", "host_dispose_handle"}) {
    SCOPED_TRACE(function);
    host.Records().Clear();
    host.Faults().nullFunctions = {{kPFHandleSuite, function}};
    EXPECT_EQ(ThrownCode([&] {
                const HostSuiteHolder handles(&host.InData(), kPFHandleSuite, kPFHandleSuiteVersion2);
                handles.Get<PF_HandleSuite2>();
              }),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.Records().ReleasedNames(), Names{kPFHandleSuite});
    EXPECT_EQ(host.Records().OutstandingSuites(), 0);
  }
  host.Faults().nullFunctions.clear();
  const HostSuiteHolder handles(&host.InData(), kPFHandleSuite, kPFHandleSuiteVersion2);
  EXPECT_NE(handles.Get<PF_HandleSuite2>().host_dispose_handle, nullptr) << "the whole record again";
}

struct BadAcquisition {
  const char* label;
  std::function<void(Host&)> arrange;
  std::function<void(Host&)> acquire;
};

// Test names and failure messages show the row's label.
void PrintTo(const BadAcquisition& row, std::ostream* os) {
  *os << row.label;
}

class HostSuiteHolderBad : public HostSuiteHolderTest, public ::testing::WithParamInterface<BadAcquisition> {};

TEST_P(HostSuiteHolderBad, Throws13AndLeavesNothingHeld) {
  GetParam().arrange(host);
  EXPECT_EQ(ThrownCode([&] { GetParam().acquire(host); }), 13);
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostSuiteHolderBad,
    ::testing::Values(
        BadAcquisition{"WrongVersion", [](Host&) {}, [](Host& h) { HostSuiteHolder s(&h.InData(), kPFANSISuite, 2); }},
        BadAcquisition{"UnknownName", [](Host&) {},
                       [](Host& h) { HostSuiteHolder s(&h.InData(), "PF No Such Suite", 1); }},
        // The host answers success but gives no suite: it counted an
        // acquisition, so the holder gives it back before throwing.
        BadAcquisition{"NullSuite", [](Host& h) { h.Faults().nullSuites.insert(kPFANSISuite); },
                       [](Host& h) { HostSuiteHolder s(&h.InData(), kPFANSISuite, kPFANSISuiteVersion1); }},
        BadAcquisition{"NoInData", [](Host&) {},
                       [](Host&) { HostSuiteHolder s(static_cast<const PF_InData*>(nullptr), kPFANSISuite, 1); }},
        BadAcquisition{"NoBasicSuite", [](Host& h) { h.InData().pica_basicP = nullptr; },
                       [](Host& h) { HostSuiteHolder s(&h.InData(), kPFANSISuite, kPFANSISuiteVersion1); }}),
    [](const ::testing::TestParamInfo<BadAcquisition>& row) { return std::string(row.param.label); });

}  // namespace
