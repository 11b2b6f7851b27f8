// A host whose suite or callback record holds a null function is a bad call,
// not a crash: every command that would call through it answers 516, leaves no
// suite acquired, no parameter checked out, no handle, effect or stream alive
// and no control changed, and the same command succeeds once the host is whole.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "hostapi/HostSuites.h"
#include "tests/e2e/EndToEndFixture.h"

namespace Orvane::Lumisk::EndToEnd {
namespace {

using TestHost::Host;
using TestHost::World;

enum class Command { kUserChangedType, kUpdateParamsUI, kParamsSetup, kRender };

struct NullFunctionCase {
  const char* name;
  Command command;
  // Nulls one function of what the host hands the module.
  std::function<void(Host&)> breakHost;
};

std::function<void(Host&)> NullSuiteFunction(const char* suite, const char* function) {
  return [suite, function](Host& host) { host.Faults().nullFunctions.insert({suite, function}); };
}

void NullStrcpy(Host& host) {
  host.InData().utils->ansi.strcpy = nullptr;
}

const NullFunctionCase kCases[] = {
    {"13, AEGP_DisposeEffect", Command::kUserChangedType, NullSuiteFunction(kAEGPEffectSuite, "AEGP_DisposeEffect")},
    {"14, AEGP_DisposeEffect", Command::kUpdateParamsUI, NullSuiteFunction(kAEGPEffectSuite, "AEGP_DisposeEffect")},
    {"13, AEGP_GetNewEffectForEffect", Command::kUserChangedType,
     NullSuiteFunction(kAEGPPFInterfaceSuite, "AEGP_GetNewEffectForEffect")},
    {"14, AEGP_GetNewEffectForEffect", Command::kUpdateParamsUI,
     NullSuiteFunction(kAEGPPFInterfaceSuite, "AEGP_GetNewEffectForEffect")},
    {"13, AEGP_GetNewEffectStreamByIndex", Command::kUserChangedType,
     NullSuiteFunction(kAEGPStreamSuite, "AEGP_GetNewEffectStreamByIndex")},
    {"14, AEGP_DisposeStream", Command::kUpdateParamsUI, NullSuiteFunction(kAEGPStreamSuite, "AEGP_DisposeStream")},
    {"13, AEGP_DisposeStream", Command::kUserChangedType, NullSuiteFunction(kAEGPStreamSuite, "AEGP_DisposeStream")},
    {"14, AEGP_GetDynamicStreamFlags", Command::kUpdateParamsUI,
     NullSuiteFunction(kAEGPDynamicStreamSuite, "AEGP_GetDynamicStreamFlags")},
    {"13, AEGP_SetDynamicStreamFlag", Command::kUserChangedType,
     NullSuiteFunction(kAEGPDynamicStreamSuite, "AEGP_SetDynamicStreamFlag")},
    {"14, AEGP_SetDynamicStreamFlag", Command::kUpdateParamsUI,
     NullSuiteFunction(kAEGPDynamicStreamSuite, "AEGP_SetDynamicStreamFlag")},
    {"13, PF_UpdateParamUI", Command::kUserChangedType, NullSuiteFunction(kPFParamUtilsSuite, "PF_UpdateParamUI")},
    {"14, PF_UpdateParamUI", Command::kUpdateParamsUI, NullSuiteFunction(kPFParamUtilsSuite, "PF_UpdateParamUI")},
    {"set-up, ansi.strcpy", Command::kParamsSetup, NullStrcpy},
    {"render, host_new_handle", Command::kRender, NullSuiteFunction(kPFHandleSuite, "host_new_handle")},
    {"render, host_lock_handle", Command::kRender, NullSuiteFunction(kPFHandleSuite, "host_lock_handle")},
    {"render, host_unlock_handle", Command::kRender, NullSuiteFunction(kPFHandleSuite, "host_unlock_handle")},
    {"render, host_dispose_handle", Command::kRender, NullSuiteFunction(kPFHandleSuite, "host_dispose_handle")},
};

class NullHostFunction : public EndToEndTest {
protected:
  PF_Err Send(Command command) {
    switch (command) {
      case Command::kUserChangedType:
        return host.UserChangedParam(kMapType);
      case Command::kUpdateParamsUI:
        return host.UpdateParamsUI();
      case Command::kParamsSetup:
        return host.ParamsSetup();
      case Command::kRender: {
        World input = MakeTestFrame(kWidth, kHeight);
        World output = World::Make8(kWidth, kHeight);
        return RenderFrame(input, output);
      }
    }
    return PF_Err_NONE;
  }

  void ExpectNothingLeft() {
    const TestHost::HostRecords& records = host.Records();
    EXPECT_EQ(records.OutstandingSuites(), 0);
    EXPECT_EQ(records.OutstandingCheckouts(), 0);
    EXPECT_EQ(host.LiveHandles(), 0);
    EXPECT_EQ(host.LiveEffects(), 0);
    EXPECT_EQ(host.LiveStreams(), 0);
    EXPECT_EQ(records.badHandleCalls, 0);
  }

  static constexpr PF_ParamIndex kMapType = 5;
  static constexpr PF_ParamValue kCircle = 4;  // shows the controls that the set-up hides
};

TEST_F(NullHostFunction, Answers516AndLeavesNothingBehind) {
  const PF_UtilCallbacks wholeUtils = *host.InData().utils;
  for (const NullFunctionCase& c : kCases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(host.ParamsSetup(), PF_Err_NONE);  // every control as the set-up leaves it
    SetValues(EffectValues{});
    host.Params().SetPopup(kMapType, kCircle);
    host.Records().Clear();
    c.breakHost(host);

    EXPECT_EQ(Send(c.command), PF_Err_BAD_CALLBACK_PARAM);
    ExpectNothingLeft();
    EXPECT_TRUE(host.Records().streamFlagChanges.empty()) << "no control changes before the command gives up";
    EXPECT_TRUE(host.Records().uiUpdates.empty());

    host.Faults() = {};
    *host.InData().utils = wholeUtils;
    EXPECT_EQ(Send(c.command), PF_Err_NONE) << "the whole host is served again";
    ExpectNothingLeft();
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::EndToEnd
