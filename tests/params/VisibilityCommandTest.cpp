#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hostapi/HostSuites.h"
#include "instruments/TestHost.h"

namespace Orvane::Lumisk::ParamsTest {
namespace {

using TestHost::Host;

constexpr PF_ParamIndex kMapType = 5;
// The nine governed controls in the order they are visited, written out
// independently of the effect's own list.
const std::vector<PF_ParamIndex> kControls = {6, 7, 8, 9, 10, 11, 12, 13, 4};
const std::set<PF_ParamIndex> kHiddenAtSetUp = {6, 7, 8, 9, 10, 11, 12, 13, 16};

// Controls shown for a 1-based "Type" value.
std::set<PF_ParamIndex> ShownFor(PF_ParamValue mapType) {
  if (mapType == 1) return {};
  if (mapType == 6) return {6, 12, 13, 4};
  return {7, 8, 9, 10, 11, 12, 13, 4};
}

// Hidden indices among 1..16 as the host holds them.
std::set<PF_ParamIndex> Hidden(Host& host) {
  std::set<PF_ParamIndex> hidden;
  for (PF_ParamIndex i = 1; i < host.Params().Count(); ++i) {
    if (host.Params().Hidden(i)) hidden.insert(i);
  }
  return hidden;
}

// The hidden set the host should hold after the rule for mapType, starting
// from the set-up's state: "Gamma" stays hidden whatever the type.
std::set<PF_ParamIndex> ExpectedHidden(PF_ParamValue mapType) {
  std::set<PF_ParamIndex> hidden = {16};
  const std::set<PF_ParamIndex> shown = ShownFor(mapType);
  for (PF_ParamIndex control : kControls) {
    if (!shown.count(control)) hidden.insert(control);
  }
  return hidden;
}

struct Command {
  const char* name;
  std::function<PF_Err(Host&)> send;
};
const Command kRuleCommands[] = {
    {"update params UI", [](Host& host) { return host.UpdateParamsUI(); }},
    {"user changed Type", [](Host& host) { return host.UserChangedParam(kMapType); }},
};

const std::vector<std::string> kCommandSuites = {kAEGPEffectSuite, kAEGPPFInterfaceSuite};
const std::vector<std::string> kRuleSuites = {kAEGPEffectSuite, kAEGPPFInterfaceSuite, kPFParamUtilsSuite,
                                              kAEGPDynamicStreamSuite, kAEGPStreamSuite};

std::vector<std::string> Reversed(std::vector<std::string> names) {
  return {names.rbegin(), names.rend()};
}

class VisibilityCommandTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
    ASSERT_EQ(host.ParamsSetup(), PF_Err_NONE);
    ASSERT_EQ(Hidden(host), kHiddenAtSetUp);
    host.Records().Clear();
  }
  void TearDown() override { host.GlobalSetdown(); }

  // Nothing acquired, made or misused is left behind by a command.
  void ExpectBalanced() {
    EXPECT_EQ(host.Records().OutstandingSuites(), 0);
    EXPECT_EQ(host.LiveEffects(), 0);
    EXPECT_EQ(host.LiveStreams(), 0);
    EXPECT_EQ(host.Records().badHandleCalls, 0);
  }

  Host host;
};

TEST_F(VisibilityCommandTest, EveryMapTypeShowsAndHidesItsControls) {
  for (const Command& command : kRuleCommands) {
    for (PF_ParamValue mapType : {1, 2, 3, 4, 5, 6, 0, 7, -3}) {
      SCOPED_TRACE(std::string(command.name) + ", Type " + std::to_string(mapType));
      Host fresh;
      ASSERT_EQ(fresh.GlobalSetup(), PF_Err_NONE);
      ASSERT_EQ(fresh.ParamsSetup(), PF_Err_NONE);
      fresh.Params().SetPopup(kMapType, mapType);
      EXPECT_EQ(command.send(fresh), PF_Err_NONE);
      EXPECT_EQ(Hidden(fresh), ExpectedHidden(mapType));
      // The host's other stream flags are set on every stream: the rule reads
      // and changes HIDDEN alone.
      for (PF_ParamIndex control : kControls) {
        EXPECT_EQ(fresh.Params().At(control).streamFlags & ~AEGP_DynStreamFlag_HIDDEN, TestHost::kOtherStreamFlags)
            << "index " << control;
      }
      EXPECT_EQ(fresh.Records().OutstandingSuites(), 0);
      fresh.GlobalSetdown();
    }
  }
}

// From every type to every type: a control changes (flag call, folded
// definition, redraw) exactly when its state differs, and in list order.
TEST_F(VisibilityCommandTest, OnlyControlsWhoseStateDiffersAreTouched) {
  for (PF_ParamValue from = 1; from <= 6; ++from) {
    for (PF_ParamValue to = 1; to <= 6; ++to) {
      SCOPED_TRACE("Type " + std::to_string(from) + " then " + std::to_string(to));
      Host fresh;
      ASSERT_EQ(fresh.GlobalSetup(), PF_Err_NONE);
      ASSERT_EQ(fresh.ParamsSetup(), PF_Err_NONE);
      fresh.Params().SetPopup(kMapType, from);
      ASSERT_EQ(fresh.UpdateParamsUI(), PF_Err_NONE);
      fresh.Records().Clear();

      fresh.Params().SetPopup(kMapType, to);
      ASSERT_EQ(fresh.UserChangedParam(kMapType), PF_Err_NONE);

      const std::set<PF_ParamIndex> shownBefore = ShownFor(from), shownAfter = ShownFor(to);
      std::vector<TestHost::StreamFlagChange> expectedChanges;
      std::vector<PF_ParamIndex> expectedRedraws;
      for (PF_ParamIndex control : kControls) {
        const bool wasShown = shownBefore.count(control) != 0, isShown = shownAfter.count(control) != 0;
        if (wasShown == isShown) continue;
        expectedChanges.push_back({control, AEGP_DynStreamFlag_HIDDEN, false, !isShown});
        expectedRedraws.push_back(control);
      }
      const auto& changes = fresh.Records().streamFlagChanges;
      ASSERT_EQ(changes.size(), expectedChanges.size());
      for (std::size_t i = 0; i < changes.size(); ++i) {
        EXPECT_EQ(changes[i].index, expectedChanges[i].index);
        EXPECT_EQ(changes[i].flag, expectedChanges[i].flag);
        EXPECT_EQ(changes[i].undoable, false);
        EXPECT_EQ(changes[i].set, expectedChanges[i].set) << "index " << changes[i].index;
        // The host takes the change with the definition it holds then: folded already.
        EXPECT_NE(changes[i].definitionFlags & PF_ParamFlag_COLLAPSE_TWIRLY, 0) << "index " << changes[i].index;
      }
      const auto& redraws = fresh.Records().uiUpdates;
      ASSERT_EQ(redraws.size(), expectedRedraws.size());
      for (std::size_t i = 0; i < redraws.size(); ++i) {
        EXPECT_EQ(redraws[i].index, expectedRedraws[i]);
        // The redraw carries the host's own definition, folded.
        EXPECT_NE(redraws[i].definition.flags & PF_ParamFlag_COLLAPSE_TWIRLY, 0);
        EXPECT_NE(fresh.Params().At(expectedRedraws[i]).live.flags & PF_ParamFlag_COLLAPSE_TWIRLY, 0);
      }
      // Every control is queried once, and every stream made is disposed.
      EXPECT_EQ(fresh.Records().CountCalls("AEGP_GetDynamicStreamFlags"), 9);
      EXPECT_EQ(fresh.LiveStreams(), 0);
      fresh.GlobalSetdown();
    }
  }
}

TEST_F(VisibilityCommandTest, CallsForOneControlComeInOrderAndSuitesBalance) {
  host.Params().SetPopup(kMapType, 6);  // Custom Layer: index 6 is shown, 7..11 stay hidden
  ASSERT_EQ(host.UpdateParamsUI(), PF_Err_NONE);
  std::vector<std::string> expected = {
      "AcquireSuite AEGP Effect Suite 2",
      "AcquireSuite AEGP PF Interface Suite 1",
      "AEGP_GetNewEffectForEffect",
      "AcquireSuite PF Param Utils Suite 3",
      "AcquireSuite AEGP Dynamic Stream Suite 2",
      "AcquireSuite AEGP Stream Suite 7",
      "AEGP_GetNewEffectStreamByIndex 6",
      "AEGP_GetDynamicStreamFlags 6",
      "AEGP_SetDynamicStreamFlag 6 clear",
      "AEGP_DisposeStream 6",
      "PF_UpdateParamUI 6",
  };
  for (PF_ParamIndex control : {7, 8, 9, 10, 11}) {
    expected.push_back("AEGP_GetNewEffectStreamByIndex " + std::to_string(control));
    expected.push_back("AEGP_GetDynamicStreamFlags " + std::to_string(control));
    expected.push_back("AEGP_DisposeStream " + std::to_string(control));
  }
  for (PF_ParamIndex control : {12, 13}) {
    const std::string n = std::to_string(control);
    expected.insert(expected.end(),
                    {"AEGP_GetNewEffectStreamByIndex " + n, "AEGP_GetDynamicStreamFlags " + n,
                     "AEGP_SetDynamicStreamFlag " + n + " clear", "AEGP_DisposeStream " + n, "PF_UpdateParamUI " + n});
  }
  // "Show" is shown already.
  expected.insert(expected.end(),
                  {"AEGP_GetNewEffectStreamByIndex 4", "AEGP_GetDynamicStreamFlags 4", "AEGP_DisposeStream 4",
                   "ReleaseSuite AEGP Stream Suite 7", "ReleaseSuite AEGP Dynamic Stream Suite 2",
                   "ReleaseSuite PF Param Utils Suite 3", "AEGP_DisposeEffect",
                   "ReleaseSuite AEGP PF Interface Suite 1", "ReleaseSuite AEGP Effect Suite 2"});
  EXPECT_EQ(host.Records().calls, expected);
  EXPECT_EQ(host.Records().AcquiredNames(), kRuleSuites);
  EXPECT_EQ(host.Records().ReleasedNames(), Reversed(kRuleSuites));
  ExpectBalanced();
}

TEST_F(VisibilityCommandTest, ShownControlsKeepTheirFoldedFlagWhenHiddenAgain) {
  host.Params().SetPopup(kMapType, 4);
  ASSERT_EQ(host.UpdateParamsUI(), PF_Err_NONE);
  host.Params().SetPopup(kMapType, 1);
  ASSERT_EQ(host.UpdateParamsUI(), PF_Err_NONE);
  for (PF_ParamIndex control : {7, 8, 9, 10, 11, 12, 13, 4}) {
    EXPECT_NE(host.Params().At(control).live.flags & PF_ParamFlag_COLLAPSE_TWIRLY, 0) << "index " << control;
  }
  // Never-changed controls keep the flags they were added with.
  EXPECT_EQ(host.Params().At(6).live.flags, 0);
  EXPECT_EQ(host.Params().At(5).live.flags, PF_ParamFlag_SUPERVISE);
}

TEST_F(VisibilityCommandTest, UserChangedForAnotherParameterChangesNoControl) {
  host.Params().SetPopup(kMapType, 6);  // would change controls if the rule ran
  for (PF_ParamIndex changed : {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, -1, 17}) {
    SCOPED_TRACE("changed index " + std::to_string(changed));
    host.Records().Clear();
    EXPECT_EQ(host.UserChangedParam(changed), PF_Err_NONE);
    EXPECT_EQ(host.Records().AcquiredNames(), kCommandSuites);
    EXPECT_EQ(host.Records().ReleasedNames(), Reversed(kCommandSuites));
    EXPECT_EQ(host.Records().effectsMade, 1);
    EXPECT_EQ(host.Records().CountCalls("AEGP_GetNewEffectStreamByIndex"), 0);
    EXPECT_EQ(Hidden(host), kHiddenAtSetUp);
    ExpectBalanced();
  }
}

TEST_F(VisibilityCommandTest, MissingSuiteEndsTheCommandWith516AndLeavesNothingHeld) {
  for (const Command& command : kRuleCommands) {
    for (std::size_t position = 0; position < kRuleSuites.size(); ++position) {
      for (bool nullSuite : {false, true}) {
        const std::string& suite = kRuleSuites[position];
        SCOPED_TRACE(std::string(command.name) + ", " + (nullSuite ? "null " : "missing ") + suite);
        host.Records().Clear();
        host.Faults() = {};
        (nullSuite ? host.Faults().nullSuites : host.Faults().missingSuites).insert(suite);
        host.Params().SetPopup(kMapType, 6);
        EXPECT_EQ(command.send(host), PF_Err_BAD_CALLBACK_PARAM);
        // The suites before the missing one were acquired, then released in
        // reverse; a null suite was acquired too, and is given back at once.
        const std::size_t acquired = nullSuite ? position + 1 : position;
        std::vector<std::string> held(kRuleSuites.begin(), kRuleSuites.begin() + static_cast<long>(acquired));
        EXPECT_EQ(host.Records().AcquiredNames(), held);
        EXPECT_EQ(host.Records().ReleasedNames(), Reversed(held));
        EXPECT_EQ(host.Records().effectsMade, position >= 2 ? 1 : 0);
        EXPECT_TRUE(host.Records().streamFlagChanges.empty());
        EXPECT_TRUE(host.Records().uiUpdates.empty());
        EXPECT_EQ(Hidden(host), kHiddenAtSetUp);
        ExpectBalanced();
      }
    }
  }
}

constexpr PF_ParamIndex kFailing = 12;  // shown for Circle, hidden for None

// A control whose stream or flags cannot be fetched is left alone; the others
// are still brought to their state. The failing control is shown and wanted
// hidden, so a decision on a flags word the host never wrote would show as a
// change. A flag call the host refuses is not read: that control is folded and
// redrawn like any control that changed, and the host keeps it shown.
TEST_F(VisibilityCommandTest, FailedStreamCallSkipsOnlyThatControl) {
  const struct {
    const char* what;
    std::function<void(TestHost::HostFaults&)> inject;
    int streamsOfFailing;  // streams made for the failing control
    bool failingChanged;   // folded and redrawn
  } cases[] = {
      {"no stream", [](TestHost::HostFaults& f) { f.newStreamErrors[kFailing] = A_Err_GENERIC; }, 0, false},
      {"no flags", [](TestHost::HostFaults& f) { f.getStreamFlagsErrors[kFailing] = A_Err_GENERIC; }, 1, false},
      {"flag refused", [](TestHost::HostFaults& f) { f.setStreamFlagErrors[kFailing] = A_Err_GENERIC; }, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Host fresh;
    ASSERT_EQ(fresh.GlobalSetup(), PF_Err_NONE);
    ASSERT_EQ(fresh.ParamsSetup(), PF_Err_NONE);
    fresh.Params().SetPopup(kMapType, 4);
    ASSERT_EQ(fresh.UpdateParamsUI(), PF_Err_NONE);
    fresh.Params().At(kFailing).live.flags &= ~PF_ParamFlag_COLLAPSE_TWIRLY;
    const PF_ParamFlags flagsBefore = fresh.Params().At(kFailing).live.flags;
    fresh.Records().Clear();

    c.inject(fresh.Faults());
    fresh.Params().SetPopup(kMapType, 1);
    EXPECT_EQ(fresh.UpdateParamsUI(), PF_Err_NONE);

    std::set<PF_ParamIndex> expectedHidden = ExpectedHidden(1);
    expectedHidden.erase(kFailing);
    EXPECT_EQ(Hidden(fresh), expectedHidden);
    EXPECT_EQ(fresh.Records().CountCalls("PF_UpdateParamUI 12"), c.failingChanged ? 1 : 0);
    EXPECT_EQ(fresh.Records().CountCalls("PF_UpdateParamUI"), c.failingChanged ? 8 : 7);  // 7..11, 13 and 4
    EXPECT_EQ(fresh.Params().At(kFailing).live.flags,
              c.failingChanged ? (flagsBefore | PF_ParamFlag_COLLAPSE_TWIRLY) : flagsBefore);
    EXPECT_EQ(fresh.Records().CountCalls("AEGP_DisposeStream 12"), c.streamsOfFailing);
    EXPECT_EQ(fresh.Records().OutstandingSuites(), 0);
    EXPECT_EQ(fresh.LiveStreams(), 0);
    EXPECT_EQ(fresh.Records().badHandleCalls, 0);
    fresh.GlobalSetdown();
  }
}

TEST_F(VisibilityCommandTest, NoEffectHandleMeansNoStreamCallsAndNoDisposal) {
  host.Faults().newEffectError = A_Err_GENERIC;
  host.Params().SetPopup(kMapType, 6);
  for (const Command& command : kRuleCommands) {
    SCOPED_TRACE(command.name);
    host.Records().Clear();
    EXPECT_EQ(command.send(host), PF_Err_NONE);
    EXPECT_EQ(host.Records().CountCalls("AEGP_GetNewEffectStreamByIndex"), 0);
    EXPECT_EQ(host.Records().CountCalls("AEGP_DisposeEffect"), 0);
    EXPECT_EQ(Hidden(host), kHiddenAtSetUp);
    ExpectBalanced();
  }
}

// A command without its records runs no rule and still gives back what it took.
TEST_F(VisibilityCommandTest, MissingParamsArrayOrExtraRunsNoRule) {
  host.Params().SetPopup(kMapType, 6);
  EXPECT_EQ(host.SendRaw(PF_Cmd_UPDATE_PARAMS_UI, &host.InData(), &host.OutData(), nullptr, nullptr, nullptr),
            PF_Err_NONE);
  EXPECT_EQ(host.Send(PF_Cmd_USER_CHANGED_PARAM, nullptr), PF_Err_NONE);
  EXPECT_EQ(host.Records().CountCalls("AEGP_GetNewEffectStreamByIndex"), 0);
  EXPECT_EQ(host.Records().effectsMade, 2);
  EXPECT_EQ(Hidden(host), kHiddenAtSetUp);
  ExpectBalanced();
}

TEST_F(VisibilityCommandTest, RedrawErrorsDoNotStopTheRule) {
  host.Faults().updateParamUiError = PF_Err_INTERNAL_STRUCT_DAMAGED;
  host.Params().SetPopup(kMapType, 3);
  EXPECT_EQ(host.UpdateParamsUI(), PF_Err_NONE);
  EXPECT_EQ(Hidden(host), ExpectedHidden(3));
  EXPECT_EQ(host.Records().uiUpdates.size(), 7u);  // 7..13; "Show" was shown already
  ExpectBalanced();
}

}  // namespace
}  // namespace Orvane::Lumisk::ParamsTest
