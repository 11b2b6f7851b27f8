// EntryPointFunc with the GL half and the parameter commands stubbed out:
// dispatch, the error handler, and the lifetime of the string table.
#include <climits>
#include <cstring>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SeamStubs.h"
#include "effect/EntryPoint.h"
#include "effect/ModuleGlobals.h"
#include "instruments/TestHost.h"

namespace {

using Orvane::Lumisk::gStringTable;
using Orvane::Lumisk::TestHost::Host;
using Orvane::Lumisk::Testing::SeamCall;
using Orvane::Lumisk::Testing::Seams;
using Orvane::Lumisk::Testing::SeamStubs;

// Names parameterised cases after their row's label.
struct RowLabel {
  template <typename Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
    return row.param.label;
  }
};

class EntryPoint : public ::testing::Test {
protected:
  void SetUp() override { Seams() = SeamStubs{}; }
  void TearDown() override {
    Seams() = SeamStubs{};
    host.GlobalSetdown();
  }

  Host host{&EntryPointFunc};
};

// ---------------------------------------------------------------- dispatch

class EntryPointIgnoredCommand : public EntryPoint, public ::testing::WithParamInterface<PF_Cmd> {};

TEST_P(EntryPointIgnoredCommand, ReturnsZeroAndTouchesNothing) {
  PF_OutData before = host.OutData();
  EXPECT_EQ(host.Send(GetParam()), PF_Err_NONE);
  EXPECT_EQ(std::memcmp(&before, &host.OutData(), sizeof before), 0);
  EXPECT_EQ(Seams().TotalCalls(), 0);
  EXPECT_TRUE(host.Records().calls.empty()) << host.Records().calls.front();
  EXPECT_EQ(gStringTable, nullptr);
}

// Unused, sequence, dialog and frame commands; above 14; negative (compared unsigned).
INSTANTIATE_TEST_SUITE_P(EveryOtherCommand, EntryPointIgnoredCommand,
                         ::testing::Values(PF_Cmd_UNUSED_0, PF_Cmd_SEQUENCE_SETUP, PF_Cmd_SEQUENCE_RESETUP,
                                           PF_Cmd_SEQUENCE_FLATTEN, PF_Cmd_SEQUENCE_SETDOWN, PF_Cmd_DO_DIALOG,
                                           PF_Cmd_FRAME_SETUP, PF_Cmd_FRAME_SETDOWN, 15, 16, 100, INT32_MAX, -1, -14,
                                           INT32_MIN));

struct ForwardedCommand {
  const char* label;
  PF_Cmd cmd;
  SeamCall SeamStubs::*seam;
  PF_Err SeamStubs::*result;  // null: the command answers 0 whatever the callee did
  bool passesOutput;
  bool passesExtra;
};

// Test names and failure messages show the row's label.
void PrintTo(const ForwardedCommand& row, std::ostream* os) {
  *os << row.label;
}

class EntryPointForwardedCommand : public EntryPoint, public ::testing::WithParamInterface<ForwardedCommand> {};

TEST_P(EntryPointForwardedCommand, PassesItsArgumentsAndAnswersWithTheCallee) {
  const ForwardedCommand& row = GetParam();
  if (row.result != nullptr) {
    Seams().*row.result = 7;  // any host code passes through unchanged
  }
  PF_UserChangedParamExtra extra{5};
  const PF_Err err = host.Send(row.cmd, &extra);
  EXPECT_EQ(err, row.result != nullptr ? 7 : PF_Err_NONE);
  const SeamCall& call = Seams().*row.seam;
  EXPECT_EQ(call.count, 1);
  EXPECT_EQ(Seams().TotalCalls(), 1);
  EXPECT_EQ(call.in_data, &host.InData());
  EXPECT_EQ(call.out_data, &host.OutData());
  ASSERT_NE(call.params, nullptr);
  EXPECT_EQ(call.params[0], &host.Params().At(0).live);
  EXPECT_EQ(call.output, row.passesOutput ? host.Output().Get() : nullptr);
  EXPECT_EQ(call.extra, row.passesExtra ? &extra : nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    ParameterAndRenderCommands, EntryPointForwardedCommand,
    ::testing::Values(ForwardedCommand{"ParamsSetup", PF_Cmd_PARAMS_SETUP, &SeamStubs::paramsSetup,
                                       &SeamStubs::paramsSetupResult, true, false},
                      ForwardedCommand{"Render", PF_Cmd_RENDER, &SeamStubs::render, nullptr, true, false},
                      ForwardedCommand{"UserChangedParam", PF_Cmd_USER_CHANGED_PARAM, &SeamStubs::userChangedParam,
                                       &SeamStubs::userChangedParamResult, false, true},
                      ForwardedCommand{"UpdateParamsUI", PF_Cmd_UPDATE_PARAMS_UI, &SeamStubs::updateParamsUI,
                                       &SeamStubs::updateParamsUIResult, true, false}),
    RowLabel());

// ---------------------------------------------------------------- the one error handler

struct ThrownError {
  const char* label;
  std::function<void()> thrower;
  PF_Err expected;
};

// Test names and failure messages show the row's label.
void PrintTo(const ThrownError& row, std::ostream* os) {
  *os << row.label;
}

class EntryPointThrown : public EntryPoint, public ::testing::WithParamInterface<ThrownError> {};

TEST_P(EntryPointThrown, BecomesOneHostCodeAndNeverEscapes) {
  const ThrownError& row = GetParam();
  Seams().onRender = row.thrower;
  Seams().onParamsSetup = row.thrower;
  Seams().onGlSetup = row.thrower;
  Seams().onGlSetdown = row.thrower;
  EXPECT_EQ(host.Render(), row.expected);
  EXPECT_EQ(host.Send(PF_Cmd_PARAMS_SETUP), row.expected);
  EXPECT_EQ(host.GlobalSetup(), row.expected);
  EXPECT_EQ(host.GlobalSetdown(), row.expected);
}

struct SomeGlFault {
  int code = 1;
};

// Every thrown int gives 516, whatever its number.
INSTANTIATE_TEST_SUITE_P(
    EveryKind, EntryPointThrown,
    ::testing::Values(ThrownError{"IntZero", [] { throw 0; }, PF_Err_BAD_CALLBACK_PARAM},
                      ThrownError{"IntOne", [] { throw 1; }, PF_Err_BAD_CALLBACK_PARAM},
                      ThrownError{"IntOutOfMemory", [] { throw 4; }, PF_Err_BAD_CALLBACK_PARAM},
                      ThrownError{"IntMissingSuite", [] { throw 13; }, PF_Err_BAD_CALLBACK_PARAM},
                      ThrownError{"IntBadCallback", [] { throw 516; }, PF_Err_BAD_CALLBACK_PARAM},
                      ThrownError{"IntNegative", [] { throw -3; }, PF_Err_BAD_CALLBACK_PARAM},
                      ThrownError{"IntMinimum", [] { throw INT_MIN; }, PF_Err_BAD_CALLBACK_PARAM},
                      ThrownError{"BadAlloc", [] { throw std::bad_alloc(); }, PF_Err_OUT_OF_MEMORY},
                      ThrownError{"RuntimeError", [] { throw std::runtime_error("x"); },
                                  PF_Err_INTERNAL_STRUCT_DAMAGED},
                      ThrownError{"OtherType", [] { throw SomeGlFault{}; }, PF_Err_INTERNAL_STRUCT_DAMAGED},
                      ThrownError{"Short", [] { throw short{13}; }, PF_Err_INTERNAL_STRUCT_DAMAGED}),
    RowLabel());

// ---------------------------------------------------------------- about

TEST_F(EntryPoint, AboutIsTheFormattedNameAndVersion) {
  ASSERT_EQ(host.About(), PF_Err_NONE);
  const char expected[] = "ZQ Lumisk v1.1\rZQ Lumisk";
  EXPECT_EQ(std::memcmp(host.OutData().return_msg, expected, sizeof expected), 0);
  EXPECT_EQ(host.Records().AcquiredNames(), std::vector<std::string>{"PF ANSI Suite"});
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
}

TEST_F(EntryPoint, AboutWithoutAnsiSuiteAnswers516AndLeavesTheMessage) {
  std::strcpy(host.OutData().return_msg, "untouched");
  for (const bool nullSuite : {false, true}) {
    host.Faults() = {};
    (nullSuite ? host.Faults().nullSuites : host.Faults().missingSuites).insert("PF ANSI Suite");
    EXPECT_EQ(host.About(), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(host.OutData().return_msg, "untouched");
    EXPECT_EQ(host.Records().OutstandingSuites(), 0);
  }
}

TEST_F(EntryPoint, MissingRecordsAnswer516) {
  EXPECT_EQ(host.SendRaw(PF_Cmd_ABOUT, &host.InData(), nullptr, nullptr, nullptr, nullptr), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(host.SendRaw(PF_Cmd_ABOUT, nullptr, &host.OutData(), nullptr, nullptr, nullptr), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(host.SendRaw(PF_Cmd_GLOBAL_SETUP, &host.InData(), nullptr, nullptr, nullptr, nullptr),
            PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(host.SendRaw(PF_Cmd_GLOBAL_SETUP, nullptr, &host.OutData(), nullptr, nullptr, nullptr),
            PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(gStringTable, nullptr);
  EXPECT_EQ(Seams().glSetup.count, 0);
}

// ---------------------------------------------------------------- global set-up and set-down

TEST_F(EntryPoint, GlobalSetupReportsVersionAndFlagsThenMakesTableThenGl) {
  bool tableBeforeGl = false;
  Seams().onGlSetup = [&] { tableBeforeGl = gStringTable != nullptr; };
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  EXPECT_EQ(host.OutData().my_version, 0x00088001u);
  EXPECT_EQ(host.OutData().out_flags, 0);
  EXPECT_EQ(host.OutData().out_flags2, 8);
  EXPECT_TRUE(tableBeforeGl);
  EXPECT_EQ(Seams().glSetup.count, 1);
  EXPECT_EQ(host.Records().languageQueries, 1);
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
}

TEST_F(EntryPoint, FailedLanguageQueryStillReportsFlagsAndKeepsTheOldTable) {
  host.SetLanguageTag("zh_CN");
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  auto* const chinese = gStringTable;
  ASSERT_NE(chinese, nullptr);

  host.OutData() = PF_OutData{};
  host.Faults().missingSuites.insert("PF AE App Suite");
  EXPECT_EQ(host.GlobalSetup(), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(host.OutData().my_version, 0x00088001u);
  EXPECT_EQ(host.OutData().out_flags, 0);
  EXPECT_EQ(host.OutData().out_flags2, 8);
  EXPECT_EQ(gStringTable, chinese);
  EXPECT_EQ(gStringTable->Language(), 0);
  EXPECT_EQ(Seams().glSetup.count, 1) << "no GL set-up after a failed table";
}

TEST_F(EntryPoint, FailedFirstSetupLeavesNoTable) {
  host.Faults().missingSuites.insert("PF AE App Suite");
  EXPECT_EQ(host.GlobalSetup(), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(gStringTable, nullptr);
  // What follows a failed set-up must not crash.
  EXPECT_EQ(host.Send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
  EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  EXPECT_EQ(gStringTable, nullptr);
}

TEST_F(EntryPoint, SetdownRunsGlHalfFirstThenFreesTheTable) {
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  bool tableDuringGl = false;
  Seams().onGlSetdown = [&] { tableDuringGl = gStringTable != nullptr; };
  EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  EXPECT_TRUE(tableDuringGl);
  EXPECT_EQ(gStringTable, nullptr);
}

TEST_F(EntryPoint, FailingGlSetdownStillFreesTheTable) {
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  Seams().onGlSetdown = [] { throw 13; };
  EXPECT_EQ(host.GlobalSetdown(), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(gStringTable, nullptr);
}

TEST_F(EntryPoint, SecondSetdownAndCommandsAfterSetdownAreHarmless) {
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  EXPECT_EQ(gStringTable, nullptr);
  EXPECT_EQ(host.Send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
  EXPECT_EQ(host.About(), PF_Err_NONE);
}

// The host keeps the texts that parameter set-up handed it for as long as the
// effect is loaded; a second set-up must not free the table they point into
// (AddressSanitizer reports the read of a freed text).
TEST_F(EntryPoint, TextsOfTheReplacedTableStayReadableUntilSetdown) {
  host.SetLanguageTag("zh_CN");
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  const char* const keys[] = {"Lens Shape", "Show", "BokehMapType", "Qualities"};
  std::vector<const char*> handedOut;
  std::vector<std::string> copies;
  for (const char* key : keys) {
    handedOut.push_back(gStringTable->Lookup(key));
    copies.emplace_back(handedOut.back());
  }
  const auto* const first = gStringTable;

  host.SetLanguageTag("en_US");
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  ASSERT_NE(gStringTable, first);
  for (std::size_t i = 0; i < handedOut.size(); ++i) {
    EXPECT_STREQ(handedOut[i], copies[i].c_str()) << keys[i];
  }
  EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  EXPECT_EQ(gStringTable, nullptr);
}

TEST_F(EntryPoint, EachSetupMakesATableInTheLanguageOfThatMoment) {
  host.SetLanguageTag("zh_CN");
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  ASSERT_NE(gStringTable, nullptr);
  EXPECT_EQ(gStringTable->Language(), 0);
  // A second set-up without set-down replaces the table (the leak check of
  // the sanitizer build sees whether the old one is freed by the set-down).
  host.SetLanguageTag("en_US");
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  ASSERT_NE(gStringTable, nullptr);
  EXPECT_EQ(gStringTable->Language(), 1);
  EXPECT_STREQ(gStringTable->Lookup("Lens Shape"), "Lens Shape");
  ASSERT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  host.SetLanguageTag("zh_CN");
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  EXPECT_EQ(gStringTable->Language(), 0);
  EXPECT_EQ(host.Records().languageQueries, 3);
}

}  // namespace
