#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "effect/ParamReaders.h"
#include "tests/params/FakeParamHost.h"

namespace Orvane::Lumisk::ParamsTest {
namespace {

constexpr int32_t kIndex = 7;

PF_ParamDef Def(PF_ParamType type) {
  PF_ParamDef def;
  std::memset(&def, 0, sizeof def);
  def.param_type = type;
  return def;
}
PF_ParamDef Slider(PF_ParamValue v) {
  PF_ParamDef def = Def(PF_Param_SLIDER);
  def.u.sd.value = v;
  return def;
}
PF_ParamDef FixedSlider(PF_Fixed v) {
  PF_ParamDef def = Def(PF_Param_FIX_SLIDER);
  def.u.fd.value = v;
  return def;
}
PF_ParamDef FloatSlider(double v) {
  PF_ParamDef def = Def(PF_Param_FLOAT_SLIDER);
  def.u.fs_d.value = v;
  return def;
}

// ------------------------------------------------------------ numbers

struct NumberCase {
  const char* what;
  PF_ParamDef def;
  double number;   // ReadNumberParam
  int32_t whole;   // ReadIntParam
  double percent;  // ReadPercentParam
};

const NumberCase kNumberCases[] = {
    {"integer slider 20", Slider(20), 20.0, 20, 0.2},
    {"integer slider -7", Slider(-7), -7.0, -7, -0.07},
    // Fixed sliders keep their whole part only: 45.5 reaches the caller as 45.
    {"fixed slider 45.5", FixedSlider(0x002D8000), 45.0, 45, 0.45},
    {"fixed slider 100", FixedSlider(0x00640000), 100.0, 100, 1.0},
    {"fixed slider -1.5 floors", FixedSlider(-0x00018000), -2.0, -2, -0.02},
    {"fixed slider -0.25 floors", FixedSlider(-0x00004000), -1.0, -1, -0.01},
    {"fixed slider largest", FixedSlider(std::numeric_limits<int32_t>::max()), 32767.0, 32767, 327.67},
    {"fixed slider smallest", FixedSlider(std::numeric_limits<int32_t>::min()), -32768.0, -32768, -327.68},
    {"float slider 2.7", FloatSlider(2.7), 2.7, 2, 0.027},
    {"float slider -2.7 truncates", FloatSlider(-2.7), -2.7, -2, -0.027},
    {"float slider beyond int range", FloatSlider(1e12), 1e12, std::numeric_limits<int32_t>::max(), 1e10},
    {"float slider below int range", FloatSlider(-1e12), -1e12, std::numeric_limits<int32_t>::min(), -1e10},
};

TEST(ParamReaders, NumberIntAndPercentConvertEverySliderKind) {
  for (const NumberCase& c : kNumberCases) {
    SCOPED_TRACE(c.what);
    FakeParamHost host;
    host.stored = c.def;
    double number = 0.0;
    int32_t whole = 0;
    double percent = 0.0;
    EXPECT_TRUE(ReadNumberParam(&host.inData, &host.outData, kIndex, &number));
    EXPECT_TRUE(ReadIntParam(&host.inData, &host.outData, kIndex, &whole));
    EXPECT_TRUE(ReadPercentParam(&host.inData, &host.outData, kIndex, &percent));
    EXPECT_DOUBLE_EQ(number, c.number);
    EXPECT_EQ(whole, c.whole);
    EXPECT_DOUBLE_EQ(percent, c.percent);
  }
}

TEST(ParamReaders, FloatSliderNotANumberReadsAsZeroInt) {
  FakeParamHost host;
  host.stored = FloatSlider(std::numeric_limits<double>::quiet_NaN());
  int32_t whole = 99;
  EXPECT_TRUE(ReadIntParam(&host.inData, &host.outData, kIndex, &whole));
  EXPECT_EQ(whole, 0);
}

// ------------------------------------------------------------ angle, checkbox, popup, point

TEST(ParamReaders, AngleIsFixedPointDegrees) {
  const struct {
    PF_Fixed value;
    double degrees;
  } cases[] = {{0, 0.0}, {0x005A4000, 90.25}, {-0x002D0000, -45.0}, {1, 1.0 / 65536.0}, {0x01680000, 360.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    FakeParamHost host;
    host.stored = Def(PF_Param_ANGLE);
    host.stored.u.ad.value = c.value;
    double degrees = -1.0;
    EXPECT_TRUE(ReadAngleParam(&host.inData, &host.outData, kIndex, &degrees));
    EXPECT_EQ(degrees, c.degrees);  // exact: scaling by 2^-16 loses nothing
  }
}

TEST(ParamReaders, CheckboxIsOnForAnyNonZeroValue) {
  const struct {
    PF_ParamValue value;
    bool checked;
  } cases[] = {{0, false}, {1, true}, {2, true}, {-1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    FakeParamHost host;
    host.stored = Def(PF_Param_CHECKBOX);
    host.stored.u.bd.value = c.value;
    bool checked = !c.checked;
    EXPECT_TRUE(ReadCheckboxParam(&host.inData, &host.outData, kIndex, &checked));
    EXPECT_EQ(checked, c.checked);
  }
}

TEST(ParamReaders, PopupBecomesZeroBased) {
  const struct {
    PF_ParamValue value;
    int32_t choice;
  } cases[] = {{1, 0}, {2, 1}, {6, 5}, {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    FakeParamHost host;
    host.stored = Def(PF_Param_POPUP);
    host.stored.u.pd.value = c.value;
    int32_t choice = 42;
    EXPECT_TRUE(ReadPopupParam(&host.inData, &host.outData, kIndex, &choice));
    EXPECT_EQ(choice, c.choice);
  }
}

TEST(ParamReaders, PointIsFixedPointPixels) {
  const struct {
    PF_Fixed x, y;
    double px, py;
  } cases[] = {{0x00320000, 0x00640000, 50.0, 100.0}, {0x00008000, -0x00018000, 0.5, -1.5}, {0, 0, 0.0, 0.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.px) + "," + std::to_string(c.py));
    FakeParamHost host;
    host.stored = Def(PF_Param_POINT);
    host.stored.u.td.x_value = c.x;
    host.stored.u.td.y_value = c.y;
    Vec2d point(-9.0, -9.0);
    EXPECT_TRUE(ReadPointParam(&host.inData, &host.outData, kIndex, &point));
    EXPECT_EQ(point.x, c.px);
    EXPECT_EQ(point.y, c.py);
  }
}

// ------------------------------------------------------------ the check-out sequence, errors and wrong types

// Runs one reader on an output preset to a sentinel; tells whether it
// succeeded and whether the output kept its sentinel.
struct Probe {
  bool succeeded;
  bool untouched;
};

struct ReaderCase {
  const char* name;
  std::vector<PF_ParamType> accepted;
  std::function<Probe(FakeParamHost&)> run;
};

template <typename Out, typename Reader>
std::function<Probe(FakeParamHost&)> Prober(Reader reader, Out sentinel,
                                            std::function<bool(const Out&, const Out&)> same) {
  return [=](FakeParamHost& host) {
    Out out = sentinel;
    const bool ok = reader(&host.inData, &host.outData, kIndex, &out);
    return Probe{ok, same(out, sentinel)};
  };
}

template <typename T>
bool Equal(const T& a, const T& b) {
  return a == b;
}
bool SamePoint(const Vec2d& a, const Vec2d& b) {
  return a.x == b.x && a.y == b.y;
}

const std::vector<PF_ParamType> kSliders = {PF_Param_SLIDER, PF_Param_FIX_SLIDER, PF_Param_FLOAT_SLIDER};

std::vector<ReaderCase> AllReaders() {
  return {
      {"ReadAngleParam", {PF_Param_ANGLE}, Prober<double>(ReadAngleParam, 12345.5, Equal<double>)},
      {"ReadCheckboxParam", {PF_Param_CHECKBOX}, Prober<bool>(ReadCheckboxParam, true, Equal<bool>)},
      {"ReadNumberParam", kSliders, Prober<double>(ReadNumberParam, 12345.5, Equal<double>)},
      {"ReadIntParam", kSliders, Prober<int32_t>(ReadIntParam, 12345, Equal<int32_t>)},
      {"ReadPercentParam", kSliders, Prober<double>(ReadPercentParam, 12345.5, Equal<double>)},
      {"ReadPopupParam", {PF_Param_POPUP}, Prober<int32_t>(ReadPopupParam, 12345, Equal<int32_t>)},
      {"ReadPointParam", {PF_Param_POINT}, Prober<Vec2d>(ReadPointParam, Vec2d(12345.5, -6789.25), SamePoint)},
  };
}

const PF_ParamType kEveryType[] = {PF_Param_LAYER,        PF_Param_SLIDER,      PF_Param_FIX_SLIDER, PF_Param_ANGLE,
                                   PF_Param_CHECKBOX,     PF_Param_COLOR,       PF_Param_POINT,      PF_Param_POPUP,
                                   PF_Param_FLOAT_SLIDER, PF_Param_GROUP_START, PF_Param_GROUP_END,  99};

bool Accepts(const ReaderCase& reader, PF_ParamType type) {
  for (PF_ParamType t : reader.accepted) {
    if (t == type) return true;
  }
  return false;
}

TEST(ParamReaders, CheckOutAtTheRenderTimeWithAClearedDefinitionAndCheckInTheSameOne) {
  for (const ReaderCase& reader : AllReaders()) {
    SCOPED_TRACE(reader.name);
    FakeParamHost host;
    host.inData.current_time = 1200;
    host.inData.time_step = 40;
    host.inData.time_scale = 1000;
    host.stored = Def(reader.accepted.front());
    EXPECT_TRUE(reader.run(host).succeeded);
    ASSERT_EQ(host.checkouts.size(), 1u);
    EXPECT_EQ(host.checkouts[0].index, kIndex);
    EXPECT_EQ(host.checkouts[0].time, 1200);
    EXPECT_EQ(host.checkouts[0].step, 40);
    EXPECT_EQ(host.checkouts[0].scale, 1000u);
    EXPECT_TRUE(host.everyCheckoutGotClearedDef);
    ASSERT_EQ(host.checkedInDefs.size(), 1u);
    EXPECT_EQ(host.checkedInDefs[0], host.checkedOutDefs[0]);
  }
}

TEST(ParamReaders, CheckoutErrorWritesNothingAndChecksNothingIn) {
  for (const ReaderCase& reader : AllReaders()) {
    SCOPED_TRACE(reader.name);
    FakeParamHost host;
    host.stored = Def(reader.accepted.front());
    host.checkoutError = PF_Err_INVALID_INDEX;
    const Probe probe = reader.run(host);
    EXPECT_FALSE(probe.succeeded);
    EXPECT_TRUE(probe.untouched);
    EXPECT_EQ(host.checkouts.size(), 1u);
    EXPECT_TRUE(host.checkedInDefs.empty());
  }
}

TEST(ParamReaders, EachReaderAcceptsOnlyItsTypesAndAlwaysChecksIn) {
  for (const ReaderCase& reader : AllReaders()) {
    for (PF_ParamType type : kEveryType) {
      SCOPED_TRACE(std::string(reader.name) + " on type " + std::to_string(type));
      FakeParamHost host;
      host.stored = Def(type);  // every value field zero, so a stray write shows
      const Probe probe = reader.run(host);
      const bool accepted = Accepts(reader, type);
      EXPECT_EQ(probe.succeeded, accepted);
      if (!accepted) {
        EXPECT_TRUE(probe.untouched);
      }
      ASSERT_EQ(host.checkedInDefs.size(), 1u);
      EXPECT_EQ(host.checkedInDefs[0], host.checkedOutDefs[0]);
    }
  }
}

// A host that lacks either callback is a bad call like any other missing
// callback: the reader throws 516 before checking anything out.
TEST(ParamReaders, AMissingCheckoutOrCheckinCallbackIsABadCallWithNothingCheckedOut) {
  for (const ReaderCase& reader : AllReaders()) {
    for (const bool checkoutMissing : {true, false}) {
      SCOPED_TRACE(std::string(reader.name) + (checkoutMissing ? " without check-out" : " without check-in"));
      FakeParamHost host;
      host.stored = Def(reader.accepted.front());
      if (checkoutMissing) {
        host.inData.inter.checkout_param = nullptr;
      } else {
        host.inData.inter.checkin_param = nullptr;
      }
      int thrown = 0;
      try {
        reader.run(host);
      } catch (int code) {
        thrown = code;
      }
      EXPECT_EQ(thrown, PF_Err_BAD_CALLBACK_PARAM);
      EXPECT_TRUE(host.checkouts.empty());
    }
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::ParamsTest
