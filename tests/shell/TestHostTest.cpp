// The test host itself: what every other test relies on. The test plays the
// module and calls the host's callbacks and suites directly.
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hostapi/HostSuites.h"
#include "instruments/TestHost.h"

namespace {

using namespace Orvane::Lumisk::TestHost;

PF_Err NoEntry(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*, void*) {
  return PF_Err_NONE;
}

template <typename Suite>
const Suite& Acquire(Host& host, const char* name, int32_t version) {
  const void* suite = nullptr;
  EXPECT_EQ(host.InData().pica_basicP->AcquireSuite(name, version, &suite), 0) << name;
  return *static_cast<const Suite*>(suite);
}

class TestHostTest : public ::testing::Test {
protected:
  PF_Err AddParam(PF_ParamDef& def) { return in().inter.add_param(in().effect_ref, -1, &def); }
  PF_Err Checkout(PF_ParamIndex index, A_long time, PF_ParamDef& def) {
    return in().inter.checkout_param(in().effect_ref, index, time, 1, 30, &def);
  }
  PF_Err Checkin(PF_ParamDef& def) { return in().inter.checkin_param(in().effect_ref, &def); }
  PF_InData& in() { return host.InData(); }

  static PF_ParamDef Slider(PF_ParamValue dephault) {
    PF_ParamDef def{};
    def.param_type = PF_Param_SLIDER;
    std::strcpy(def.name, "Blur Strength");
    def.u.sd.value = def.u.sd.dephault = dephault;
    return def;
  }

  Host host{&NoEntry};
};

// ---------------------------------------------------------------- parameters

TEST_F(TestHostTest, AddParamDeepCopiesDefinitionAndTexts) {
  std::string items = "Circular|Hexagon|Pentagon";
  PF_ParamDef popup{};
  popup.param_type = PF_Param_POPUP;
  popup.uu.id = 1;
  std::strcpy(popup.name, "Lens Shape");
  popup.u.pd.u.namesptr = items.c_str();
  std::string label = "Show";
  PF_ParamDef checkbox{};
  checkbox.param_type = PF_Param_CHECKBOX;
  checkbox.ui_flags = PF_PUI_INVISIBLE;
  checkbox.u.bd.u.nameptr = label.c_str();
  ASSERT_EQ(AddParam(popup), PF_Err_NONE);
  ASSERT_EQ(AddParam(checkbox), PF_Err_NONE);
  const char* modulePointer = items.c_str();
  items.assign(items.size(), 'x');
  label.assign(label.size(), 'x');
  std::memset(popup.name, 'x', sizeof popup.name);

  auto& params = host.Params();
  ASSERT_EQ(params.Count(), 3);
  EXPECT_EQ(params.At(1).name, "Lens Shape");
  EXPECT_STREQ(params.Definition(1).name, "Lens Shape");
  EXPECT_EQ(params.At(1).popupItems, "Circular|Hexagon|Pentagon");
  EXPECT_STREQ(params.Definition(1).u.pd.u.namesptr, "Circular|Hexagon|Pentagon");
  EXPECT_EQ(params.At(1).moduleTextPointer, modulePointer);
  EXPECT_EQ(params.At(1).addIndex, -1);
  EXPECT_EQ(params.Definition(1).uu.id, 1);
  EXPECT_STREQ(params.Definition(2).u.bd.u.nameptr, "Show");
  EXPECT_FALSE(params.Hidden(1));
  EXPECT_TRUE(params.Hidden(2)) << "added invisible, so its stream starts hidden";
  EXPECT_EQ(host.Records().CountCalls("add_param -1"), 2);
}

TEST_F(TestHostTest, AddParamFailsAtTheChosenCall) {
  host.Faults().addParamFailAtCall = 2;
  host.Faults().addParamError = PF_Err_INTERNAL_STRUCT_DAMAGED;
  PF_ParamDef def = Slider(1);
  EXPECT_EQ(AddParam(def), PF_Err_NONE);
  EXPECT_EQ(AddParam(def), PF_Err_INTERNAL_STRUCT_DAMAGED);
  EXPECT_EQ(AddParam(def), PF_Err_NONE);
  EXPECT_EQ(host.Params().Count(), 3) << "the failed call adds nothing";
}

TEST_F(TestHostTest, CheckoutGivesTheValueAtTheAskedTime) {
  PF_ParamDef def = Slider(20);
  ASSERT_EQ(AddParam(def), PF_Err_NONE);
  struct Step {
    std::function<void()> set;
    A_long time;
    PF_ParamValue expected;
  };
  const Step steps[] = {
      {[] {}, 0, 20},                                       // the definition's value
      {[&] { host.Params().SetSlider(1, 5); }, 0, 5},       // one value for all times
      {[&] { host.Params().SetSlider(1, 9, 30); }, 30, 9},  // a value for time 30 only
      {[] {}, 0, 5},                                        // other times keep the value for all
  };
  for (const Step& step : steps) {
    step.set();
    PF_ParamDef out{};
    ASSERT_EQ(Checkout(1, step.time, out), PF_Err_NONE);
    EXPECT_EQ(out.param_type, PF_Param_SLIDER);
    EXPECT_EQ(out.u.sd.value, step.expected) << "at time " << step.time;
    EXPECT_EQ(host.Records().OutstandingCheckouts(), 1);
    EXPECT_EQ(Checkin(out), PF_Err_NONE);
    EXPECT_EQ(host.Records().OutstandingCheckouts(), 0);
  }
  const CheckoutCall& last = host.Records().checkouts.back();
  EXPECT_EQ(last.index, 1);
  EXPECT_EQ(last.time_step, 1);
  EXPECT_EQ(last.time_scale, 30u);
}

TEST_F(TestHostTest, PointDefaultComesBackAsTheLayerCentre) {
  World input = World::Make8(64, 32);
  host.SetInputLayer(input);
  PF_ParamDef point{};
  point.param_type = PF_Param_POINT;
  point.u.td.x_value = point.u.td.x_dephault = 50 << 16;
  point.u.td.y_value = point.u.td.y_dephault = 50 << 16;
  ASSERT_EQ(AddParam(point), PF_Err_NONE);
  PF_ParamDef out{};
  ASSERT_EQ(Checkout(1, 0, out), PF_Err_NONE);
  EXPECT_EQ(out.u.td.x_value, 32 << 16);
  EXPECT_EQ(out.u.td.y_value, 16 << 16);
  Checkin(out);
  host.Params().SetPoint(1, 3 << 16, 4 << 16);
  ASSERT_EQ(Checkout(1, 0, out), PF_Err_NONE);
  EXPECT_EQ(out.u.td.x_value, 3 << 16) << "set values are already in pixels";
  Checkin(out);
}

TEST_F(TestHostTest, CheckoutFaultsPerIndex) {
  PF_ParamDef def = Slider(20);
  ASSERT_EQ(AddParam(def), PF_Err_NONE);
  ASSERT_EQ(AddParam(def), PF_Err_NONE);
  host.Faults().checkoutErrors[1] = PF_Err_OUT_OF_MEMORY;
  host.Faults().wrongTypes[2] = PF_Param_POPUP;
  PF_ParamDef out{};
  EXPECT_EQ(Checkout(1, 0, out), PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(host.Records().OutstandingCheckouts(), 0);
  ASSERT_EQ(Checkout(2, 0, out), PF_Err_NONE);
  EXPECT_EQ(out.param_type, PF_Param_POPUP);
  Checkin(out);
  EXPECT_EQ(Checkout(3, 0, out), PF_Err_INVALID_INDEX);
  PF_ParamDef stranger{};
  EXPECT_NE(Checkin(stranger), PF_Err_NONE);
  EXPECT_EQ(host.Records().unmatchedCheckins, 1);
}

TEST_F(TestHostTest, LayerParametersGiveTheirWorld) {
  World input = World::Make8(8, 4);
  World custom = World::Make8(5, 3, 4);
  host.SetInputLayer(input);
  PF_ParamDef layer{};
  layer.param_type = PF_Param_LAYER;
  ASSERT_EQ(AddParam(layer), PF_Err_NONE);
  PF_ParamDef out{};
  ASSERT_EQ(Checkout(1, 0, out), PF_Err_NONE);
  EXPECT_EQ(out.u.ld.data, nullptr) << "no layer chosen";
  Checkin(out);
  host.Params().SetLayer(1, custom.Get());
  ASSERT_EQ(Checkout(1, 0, out), PF_Err_NONE);
  EXPECT_EQ(out.u.ld.data, custom.Get()->data);
  EXPECT_EQ(out.u.ld.rowbytes, 5 * 4 + 4);
  Checkin(out);
  ASSERT_EQ(Checkout(0, 0, out), PF_Err_NONE);
  EXPECT_EQ(out.u.ld.width, 8);
  EXPECT_EQ(in().width, 8);
  Checkin(out);
}

TEST_F(TestHostTest, ParamsArrayCarriesCurrentValuesAndKeepsFlagChanges) {
  PF_ParamDef def = Slider(20);
  ASSERT_EQ(AddParam(def), PF_Err_NONE);
  host.Params().SetSlider(1, 7, 10);
  PF_ParamDef** array = host.Params().Array(10);
  EXPECT_EQ(array[1]->u.sd.value, 7);
  array[1]->flags |= PF_ParamFlag_COLLAPSE_TWIRLY;  // as the module may do
  array = host.Params().Array(0);
  EXPECT_EQ(array[1]->u.sd.value, 20);
  EXPECT_EQ(array[1]->flags, PF_ParamFlag_COLLAPSE_TWIRLY);
  EXPECT_EQ(host.Params().Definition(1).flags, 0) << "the definition as added stays";
}

// ---------------------------------------------------------------- suites

TEST_F(TestHostTest, StreamsCarryHiddenFlags) {
  PF_ParamDef def = Slider(1);
  def.ui_flags = PF_PUI_INVISIBLE;
  ASSERT_EQ(AddParam(def), PF_Err_NONE);
  const auto& pf = Acquire<AEGP_PFInterfaceSuite1>(host, kAEGPPFInterfaceSuite, 1);
  const auto& streams = Acquire<AEGP_StreamSuite7>(host, kAEGPStreamSuite, 7);
  const auto& dynamic = Acquire<AEGP_DynamicStreamSuite2>(host, kAEGPDynamicStreamSuite, 2);
  const auto& effects = Acquire<AEGP_EffectSuite2>(host, kAEGPEffectSuite, 2);
  const auto& utils = Acquire<PF_ParamUtilsSuite3>(host, kPFParamUtilsSuite, 3);

  AEGP_EffectRefH effect = nullptr;
  ASSERT_EQ(pf.AEGP_GetNewEffectForEffect(0, in().effect_ref, &effect), A_Err_NONE);
  AEGP_StreamRefH stream = nullptr;
  ASSERT_EQ(streams.AEGP_GetNewEffectStreamByIndex(0, effect, 1, &stream), A_Err_NONE);
  AEGP_DynStreamFlags flags = 0;
  ASSERT_EQ(dynamic.AEGP_GetDynamicStreamFlags(stream, &flags), A_Err_NONE);
  EXPECT_EQ(flags, kOtherStreamFlags | AEGP_DynStreamFlag_HIDDEN);
  ASSERT_EQ(dynamic.AEGP_SetDynamicStreamFlag(stream, AEGP_DynStreamFlag_HIDDEN, 0, 0), A_Err_NONE);
  EXPECT_FALSE(host.Params().Hidden(1));
  EXPECT_EQ(host.Params().At(1).streamFlags, kOtherStreamFlags) << "only the one flag changes";
  EXPECT_EQ(streams.AEGP_DisposeStream(stream), A_Err_NONE);
  EXPECT_EQ(utils.PF_UpdateParamUI(in().effect_ref, 1, &host.Params().At(1).live), PF_Err_NONE);
  EXPECT_EQ(effects.AEGP_DisposeEffect(effect), A_Err_NONE);

  const auto& changes = host.Records().streamFlagChanges;
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].index, 1);
  EXPECT_FALSE(changes[0].set);
  EXPECT_FALSE(changes[0].undoable);
  ASSERT_EQ(host.Records().uiUpdates.size(), 1u);
  EXPECT_EQ(host.Records().uiUpdates[0].index, 1);
  EXPECT_EQ(host.LiveStreams(), 0);
  EXPECT_EQ(host.LiveEffects(), 0);
  // Used after disposal: refused and counted.
  EXPECT_NE(dynamic.AEGP_GetDynamicStreamFlags(stream, &flags), A_Err_NONE);
  EXPECT_EQ(host.Records().badHandleCalls, 1);
  EXPECT_EQ(host.Records().CountCalls("AEGP_DisposeStream 1"), 1);
}

TEST_F(TestHostTest, StreamFaultsPerIndex) {
  PF_ParamDef def = Slider(1);
  ASSERT_EQ(AddParam(def), PF_Err_NONE);
  const auto& pf = Acquire<AEGP_PFInterfaceSuite1>(host, kAEGPPFInterfaceSuite, 1);
  const auto& streams = Acquire<AEGP_StreamSuite7>(host, kAEGPStreamSuite, 7);
  host.Faults().newEffectError = A_Err_GENERIC;
  AEGP_EffectRefH effect = nullptr;
  EXPECT_EQ(pf.AEGP_GetNewEffectForEffect(0, in().effect_ref, &effect), A_Err_GENERIC);
  EXPECT_EQ(effect, nullptr);
  host.Faults().newEffectError = A_Err_NONE;
  ASSERT_EQ(pf.AEGP_GetNewEffectForEffect(0, in().effect_ref, &effect), A_Err_NONE);
  host.Faults().newStreamErrors[1] = A_Err_GENERIC;
  AEGP_StreamRefH stream = nullptr;
  EXPECT_EQ(streams.AEGP_GetNewEffectStreamByIndex(0, effect, 1, &stream), A_Err_GENERIC);
  EXPECT_EQ(stream, nullptr);
  EXPECT_EQ(host.LiveStreams(), 0);
}

TEST_F(TestHostTest, HandlesAreCountedAndCanFail) {
  const auto& handles = Acquire<PF_HandleSuite2>(host, kPFHandleSuite, 2);
  PF_Handle handle = handles.host_new_handle(64);
  ASSERT_NE(handle, nullptr);
  auto* bytes = static_cast<uint8_t*>(handles.host_lock_handle(handle));
  ASSERT_NE(bytes, nullptr);
  std::memset(bytes, 1, 64);
  handles.host_unlock_handle(handle);
  EXPECT_EQ(host.LiveHandles(), 1);
  handles.host_dispose_handle(handle);
  EXPECT_EQ(host.LiveHandles(), 0);
  handles.host_dispose_handle(handle);
  EXPECT_EQ(host.Records().badHandleCalls, 1) << "second disposal noticed";
  EXPECT_NE(handles.host_new_handle(0), nullptr) << "an empty handle is still a handle";
  host.Faults().nullNewHandle = true;
  EXPECT_EQ(handles.host_new_handle(16), nullptr);
  EXPECT_EQ(host.Records().handleSizes, (std::vector<A_HandleSize>{64, 0, 16}));
}

struct IterateCount {
  int calls = 0;
};

PF_Err DoubleRed(void* refcon, A_long x, A_long y, PF_PixelFloat* in, PF_PixelFloat* out) {
  ++static_cast<IterateCount*>(refcon)->calls;
  out->red = in->red * 2.0f + static_cast<float>(x + 10 * y);
  return PF_Err_NONE;
}

TEST_F(TestHostTest, IterateFloatVisitsEveryPixelOnce) {
  const auto& iterate = Acquire<PF_iterateFloatSuite1>(host, kPFIterateFloatSuite, 1);
  World src = World::MakeFloat(3, 2, 8);
  World dst = World::MakeFloat(3, 2);
  src.PixelFloat(2, 1).red = 1.5f;
  IterateCount count;
  ASSERT_EQ(iterate.iterate(&in(), 0, 2, src.Get(), nullptr, &count, &DoubleRed, dst.Get()), PF_Err_NONE);
  EXPECT_EQ(count.calls, 6);
  EXPECT_FLOAT_EQ(dst.PixelFloat(2, 1).red, 3.0f + 12.0f);
  EXPECT_FLOAT_EQ(dst.PixelFloat(1, 0).red, 1.0f);

  World eight = World::Make8(3, 2);
  EXPECT_NE(iterate.iterate(&in(), 0, 2, eight.Get(), nullptr, &count, &DoubleRed, eight.Get()), PF_Err_NONE);
  host.Faults().iterateError = 77;
  count.calls = 0;
  EXPECT_EQ(iterate.iterate(&in(), 0, 2, src.Get(), nullptr, &count, &DoubleRed, dst.Get()), 77);
  EXPECT_EQ(count.calls, 0);
}

TEST_F(TestHostTest, PixelDataMatchesTheWorldsDepth) {
  World eight = World::Make8(2, 2);
  World sixteen = World::Make16(2, 2);
  PF_Pixel8* p8 = nullptr;
  PF_Pixel16* p16 = nullptr;
  EXPECT_EQ(in().utils->get_pixel_data8(eight.Get(), nullptr, &p8), PF_Err_NONE);
  EXPECT_EQ(static_cast<void*>(p8), static_cast<void*>(eight.Get()->data));
  EXPECT_EQ(in().utils->get_pixel_data16(sixteen.Get(), nullptr, &p16), PF_Err_NONE);
  EXPECT_EQ(static_cast<void*>(p16), static_cast<void*>(sixteen.Get()->data));
  EXPECT_NE(in().utils->get_pixel_data8(sixteen.Get(), nullptr, &p8), PF_Err_NONE);
  EXPECT_EQ(p8, nullptr);
  host.Faults().nullPixelData = true;
  EXPECT_NE(in().utils->get_pixel_data8(eight.Get(), nullptr, &p8), PF_Err_NONE);
  EXPECT_EQ(p8, nullptr);
}

TEST_F(TestHostTest, MissingSuitesAndLanguageTags) {
  const void* suite = nullptr;
  host.Faults().missingSuites.insert(kPFAppSuite);
  EXPECT_EQ(in().pica_basicP->AcquireSuite(kPFAppSuite, 7, &suite), A_Err_MISSING_SUITE);
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
  host.Faults().missingSuites.clear();
  const auto& app = Acquire<PF_AppSuite7>(host, kPFAppSuite, 7);
  host.SetLanguageTag(std::array<A_char, 6>{'z', 'h', '_', 'C', 'N', '!'});
  A_char tag[6] = {};
  ASSERT_EQ(app.PF_AppGetLanguage(tag), PF_Err_NONE);
  EXPECT_EQ(std::memcmp(tag, "zh_CN!", 6), 0);
  host.SetLanguageTag("fr_FR_long");
  ASSERT_EQ(app.PF_AppGetLanguage(tag), PF_Err_NONE);
  EXPECT_EQ(std::memcmp(tag, "fr_FR", 6), 0) << "cut to five characters and a zero";
  EXPECT_EQ(in().pica_basicP->ReleaseSuite(kPFAppSuite, 7), 0);
  EXPECT_NE(in().pica_basicP->ReleaseSuite(kPFAppSuite, 7), 0) << "not held any more";
}

// The headless host on its own, with no instrument on it, serves the suites
// and knows which it has handed out.
TEST(HeadlessHost, ServesWithoutAnInstrumentAndKnowsTheSuitesItHolds) {
  Orvane::Lumisk::HeadlessHost::Host bare{&NoEntry};
  SPBasicSuite& basic = *bare.InData().pica_basicP;
  const void* suite = nullptr;
  ASSERT_EQ(basic.AcquireSuite(kPFAppSuite, 7, &suite), 0);
  ASSERT_NE(suite, nullptr);
  ASSERT_EQ(basic.AcquireSuite(kPFHandleSuite, 2, &suite), 0);
  EXPECT_EQ(basic.AcquireSuite("No Such Suite", 1, &suite), A_Err_MISSING_SUITE);
  EXPECT_EQ(bare.HeldSuites(), 2);
  EXPECT_EQ(basic.ReleaseSuite(kPFAppSuite, 7), 0);
  EXPECT_EQ(bare.HeldSuites(), 1);
  const auto& handles = *static_cast<const PF_HandleSuite2*>(suite);
  const PF_Handle handle = handles.host_new_handle(16);
  ASSERT_NE(handle, nullptr);
  EXPECT_NE(handles.host_lock_handle(handle), nullptr);
  handles.host_unlock_handle(handle);
  handles.host_dispose_handle(handle);
  EXPECT_EQ(basic.ReleaseSuite(kPFHandleSuite, 2), 0);
  EXPECT_EQ(bare.HeldSuites(), 0);
}

TEST_F(TestHostTest, SprintfFormatsWithinTheMessageBuffer) {
  const auto& ansi = Acquire<PF_ANSICallbacksSuite1>(host, kPFANSISuite, 1);
  char buffer[PF_MAX_EFFECT_MSG_LEN + 1];
  EXPECT_EQ(ansi.sprintf(buffer, "%s v%d", "x", 3), 4);
  EXPECT_STREQ(buffer, "x v3");
  const std::string longText(400, 'a');
  ansi.sprintf(buffer, "%s", longText.c_str());
  EXPECT_EQ(std::strlen(buffer), 255u);
  EXPECT_EQ(host.Records().sprintfOutputs.front(), "x v3");
}

// ---------------------------------------------------------------- worlds, commands, loading

TEST(TestHostWorld, PaddedRowsAndPixelAccess) {
  World world = World::Make8(3, 2, 8);
  EXPECT_EQ(world.RowBytes(), 3 * 4 + 8);
  world.Fill8(PF_Pixel8{1, 2, 3, 4});
  EXPECT_TRUE(world.PaddingUntouched());
  EXPECT_EQ(world.Row(1)[4 + 2], 3);
  world.Row(0)[12] = 0;
  EXPECT_FALSE(world.PaddingUntouched());
  EXPECT_EQ(World::Make16(2, 2, 4).RowBytes(), 2 * 8 + 4);
  EXPECT_EQ(World::MakeFloat(2, 2).RowBytes(), 2 * 16);
  EXPECT_THROW(World::Make16(2, 2, 3), std::invalid_argument);
  EXPECT_THROW(World::Make8(-1, 2), std::invalid_argument);
  World moved = std::move(world);
  EXPECT_EQ(moved.Get()->data, reinterpret_cast<PF_PixelPtr>(moved.Row(0)));
}

TEST_F(TestHostTest, CommandsAfterATestsWorldsAreGoneReachNothingOfThem) {
  PF_ParamDef layer{};
  layer.param_type = PF_Param_LAYER;
  ASSERT_EQ(AddParam(layer), PF_Err_NONE);
  {
    World input = World::Make8(6, 4);
    World output = World::Make8(6, 4);
    World custom = World::Make8(3, 3);
    host.SetInputLayer(input);
    host.SetOutput(output);
    host.Params().SetLayer(1, custom.Get());
  }
  // A set-down at the end of a test builds the params array again: the
  // sanitizer build sees any read of the worlds above.
  EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  EXPECT_EQ(host.Params().Array(0)[0]->u.ld.width, 6);
  EXPECT_EQ(host.Params().Array(0)[1]->u.ld.width, 3);
}

TEST(TestHostCommands, RecordsResultsAndCallsObservers) {
  static PF_Err answer = 0;
  Host host([](PF_Cmd cmd, PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*, void*) -> PF_Err {
    if (cmd == 99) throw 1;
    return answer;
  });
  std::vector<std::string> seen;
  host.AddCommandObserver([&](PF_Cmd cmd, CommandPhase phase, PF_Err result) {
    seen.push_back(std::to_string(cmd) + (phase == CommandPhase::kBefore ? " before" : " after ") +
                   (phase == CommandPhase::kAfter ? std::to_string(result) : ""));
  });
  answer = 7;
  EXPECT_EQ(host.About(), 7);
  EXPECT_EQ(host.Send(99), kExceptionEscaped);
  ASSERT_EQ(host.Records().commands.size(), 2u);
  EXPECT_EQ(host.Records().commands[1].result, kExceptionEscaped);
  EXPECT_EQ(seen, (std::vector<std::string>{"0 before", "0 after 7", "99 before",
                                            "99 after " + std::to_string(kExceptionEscaped)}));
}

TEST(TestHostLoading, MissingModuleIsAClearError) {
  EXPECT_THROW(Host("/nonexistent/ZQLumisk.aex"), std::runtime_error);
}

TEST(TestHostLoading, ActiveHostIsTheNewestAlive) {
  Host outer(&NoEntry);
  {
    Host inner(&NoEntry);
    EXPECT_EQ(Host::Active(), &inner);
  }
  EXPECT_EQ(Host::Active(), &outer);
}

}  // namespace
