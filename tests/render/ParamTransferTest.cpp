// BlurRenderer::UpdateFromParams on its own: the effect shell's parameter
// definitions in the test host, a renderer of the test's own, and a GL context
// for the layer upload. Checks the unit conversions, the downsample rounding
// and what a failed read leaves.
#include <cmath>

#include <glbinding/gl33core/gl.h>
#include <gtest/gtest.h>

#include "effect/ParamTransfer.h"
#include "effect/ParamsSetup.h"
#include "instruments/TestHost.h"
#include "render/BlurMapPass.h"
#include "render/BlurRenderer.h"
#include "tests/support/GlTestContext.h"

namespace Orvane::Lumisk {
namespace {

// Only parameter set-up is needed from the effect shell.
PF_Err ParamsOnlyEntryPoint(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                            PF_LayerDef* output, void*) {
  return cmd == PF_Cmd_PARAMS_SETUP ? ParamsSetup(in_data, out_data, params, output) : PF_Err_NONE;
}

PF_Fixed Fixed(double value) {
  return PF_Fixed(value * 65536.0);
}

class ParamTransfer : public Testing::GlContextTest {
protected:
  void SetUp() override {
    GlContextTest::SetUp();
    ASSERT_EQ(host.ParamsSetup(), PF_Err_NONE);
  }

  void Transfer(unsigned den = 1) {
    host.SetDownsample(PF_RationalScale{1, den}, PF_RationalScale{1, den});
    renderer.UpdateFromParams(&host.InData(), &host.OutData());
  }

  TestHost::Host host{&ParamsOnlyEntryPoint};
  BlurRenderer renderer;
};

struct RoundingCase {
  int strength;
  int feather;
  unsigned den;
  int blurAmount;
  double featherPixels;
};

TEST_F(ParamTransfer, DividesStrengthAndFeatherByTheDenominatorAndRounds) {
  const RoundingCase cases[] = {
      {20, 250, 1, 20, 250.0}, {20, 250, 2, 10, 125.0}, {20, 250, 4, 5, 63.0}, {5, 5, 2, 3, 3.0}, {7, 250, 4, 2, 63.0},
      {7, 250, 5, 1, 50.0},    {1, 1, 4, 0, 0.0},       {20, 250, 3, 7, 83.0}, {9, 7, 0, 9, 7.0},
  };
  for (const RoundingCase& c : cases) {
    host.Params().SetSlider(2, c.strength);
    host.Params().SetSlider(7, c.feather);
    Transfer(c.den);
    EXPECT_EQ(renderer.blurAmount, c.blurAmount) << c.strength << " / " << c.den;
    EXPECT_DOUBLE_EQ(renderer.MapPass().feather, c.featherPixels) << c.feather << " / " << c.den;
  }
}

TEST_F(ParamTransfer, ConvertsEveryUnit) {
  TestHost::ParameterStore& params = host.Params();
  params.SetPopup(1, 3);
  params.SetCheckbox(4, true);
  params.SetPopup(5, 4);
  params.SetPoint(8, Fixed(50.0), Fixed(100.5));
  params.SetFloatSlider(9, 100.0);
  params.SetFloatSlider(10, 37.5);
  params.SetAngle(11, Fixed(-22.5));
  params.SetFixedSlider(12, Fixed(45.5));
  params.SetCheckbox(13, true);
  params.SetPopup(15, 1);
  Transfer(2);
  EXPECT_EQ(renderer.LensShapeValue(), LensPentagon);
  EXPECT_TRUE(renderer.showBlurMap);
  EXPECT_EQ(renderer.blurMapType, BokehMapCircle);
  EXPECT_DOUBLE_EQ(renderer.MapPass().center.x, 50.0) << "the centre is not divided by the downsample factor";
  EXPECT_DOUBLE_EQ(renderer.MapPass().center.y, 100.5);
  EXPECT_DOUBLE_EQ(renderer.MapPass().scaleX, 1.0);
  EXPECT_DOUBLE_EQ(renderer.MapPass().scaleY, 0.375);
  EXPECT_DOUBLE_EQ(renderer.MapPass().rotation, -22.5);
  EXPECT_DOUBLE_EQ(renderer.focalDistance, 0.45) << "a fixed slider keeps its whole part only";
  EXPECT_TRUE(renderer.MapPass().invert);
  EXPECT_EQ(renderer.quality, QualityHigh);
  EXPECT_EQ(renderer.BlurMapTexture(), 0u) << "a generated map is made by the render, not here";
}

TEST_F(ParamTransfer, AFailedReadKeepsThePreviousValueUnconverted) {
  host.Params().SetSlider(2, 20);
  Transfer(1);
  ASSERT_EQ(renderer.blurAmount, 20);
  host.Faults().checkoutErrors[2] = PF_Err_OUT_OF_MEMORY;
  host.Faults().wrongTypes[12] = PF_Param_POPUP;
  host.Params().SetFixedSlider(12, Fixed(80.0));
  Transfer(2);
  EXPECT_EQ(renderer.blurAmount, 20) << "not halved a second time";
  EXPECT_DOUBLE_EQ(renderer.focalDistance, 0.0);
  EXPECT_EQ(host.Records().OutstandingCheckouts(), 0);
}

// What the host hands over beyond a definition's valid range reaches the
// renderer at the nearest end of it (strength 0 to 400, feather 0 to 1000,
// scales 0 to 5000 %, focal distance 0 to 100 %), before the downsampling.
TEST_F(ParamTransfer, ValuesBeyondTheirDefinitionsReachTheRendererClamped) {
  struct ClampCase {
    int strength;
    int feather;
    double scale;
    double focal;
    unsigned den;
    int blurAmount;
    double featherPixels;
    double scaleFraction;
    double focalFraction;
  };
  const ClampCase cases[] = {
      {40000, 5000, 1e9, 250.0, 1, 400, 1000.0, 50.0, 1.0},
      {40000, 5000, 5001.0, 100.5, 2, 200, 500.0, 50.0, 1.0},
      {-7, -3, -10.0, -40.0, 1, 0, 0.0, 0.0, 0.0},
      {2147483647, 2147483647, -1e-3, 32767.0, 1, 400, 1000.0, 0.0, 1.0},
      {400, 1000, 5000.0, 100.0, 1, 400, 1000.0, 50.0, 1.0},
  };
  for (const ClampCase& c : cases) {
    SCOPED_TRACE(c.strength);
    host.Params().SetSlider(2, c.strength);
    host.Params().SetSlider(7, c.feather);
    host.Params().SetFloatSlider(9, c.scale);
    host.Params().SetFloatSlider(10, c.scale);
    host.Params().SetFixedSlider(12, Fixed(c.focal));
    Transfer(c.den);
    EXPECT_EQ(renderer.blurAmount, c.blurAmount);
    EXPECT_DOUBLE_EQ(renderer.MapPass().feather, c.featherPixels);
    EXPECT_DOUBLE_EQ(renderer.MapPass().scaleX, c.scaleFraction);
    EXPECT_DOUBLE_EQ(renderer.MapPass().scaleY, c.scaleFraction);
    EXPECT_DOUBLE_EQ(renderer.focalDistance, c.focalFraction);
  }
}

// A float slider holding no number is no value: the scale keeps what it held.
// Popups beyond their choices are no choice and leave their settings alone.
TEST_F(ParamTransfer, NoNumberAndNoChoiceLeaveTheSettingsAsTheyWere) {
  host.Params().SetFloatSlider(9, 60.0);
  host.Params().SetFloatSlider(10, 30.0);
  host.Params().SetPopup(1, 3);
  host.Params().SetPopup(15, 1);
  Transfer();
  host.Params().SetFloatSlider(9, std::nan(""));
  host.Params().SetFloatSlider(10, -std::nan(""));
  host.Params().SetPopup(1, 4);
  host.Params().SetPopup(15, 1000);
  Transfer();
  EXPECT_DOUBLE_EQ(renderer.MapPass().scaleX, 0.6);
  EXPECT_DOUBLE_EQ(renderer.MapPass().scaleY, 0.3);
  EXPECT_EQ(renderer.LensShapeValue(), LensPentagon);
  EXPECT_EQ(renderer.quality, QualityHigh);
  host.Params().SetPopup(1, 0);
  host.Params().SetPopup(15, 0);
  Transfer();
  EXPECT_EQ(renderer.LensShapeValue(), LensPentagon);
  EXPECT_EQ(renderer.quality, QualityHigh);
}

// A blur strength that the host hands over as a float slider: whole units
// toward zero within 0 to 400, and no number at all keeps the strength it had,
// as a float slider holding no number does everywhere else.
TEST_F(ParamTransfer, AFloatSliderStrengthKeepsItsValueWhenItHoldsNoNumber) {
  host.Faults().wrongTypes[2] = PF_Param_FLOAT_SLIDER;
  const struct {
    double value;
    int blurAmount;
  } cases[] = {{12.7, 12}, {-2.7, 0}, {400.9, 400}, {1e300, 400}, {-HUGE_VAL, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    host.Params().SetFloatSlider(2, c.value);
    Transfer();
    EXPECT_EQ(renderer.blurAmount, c.blurAmount);
    for (const double noNumber : {std::nan(""), -std::nan("")}) {
      host.Params().SetFloatSlider(2, noNumber);
      Transfer();
      EXPECT_EQ(renderer.blurAmount, c.blurAmount) << "kept through " << noNumber;
    }
  }
}

TEST_F(ParamTransfer, AMapTypeOutsideThePopupIsIgnored) {
  host.Params().SetPopup(5, 3);
  Transfer();
  host.Params().SetPopup(5, 9);
  Transfer();
  EXPECT_EQ(renderer.blurMapType, BokehMapLinear3);
}

TEST_F(ParamTransfer, TheCustomLayerIsReadOnlyForItsMapType) {
  TestHost::World layer = TestHost::World::Make8(5, 3);
  host.Params().SetLayer(6, layer.Get());
  for (int type = 1; type <= 5; ++type) {
    host.Params().SetPopup(5, type);
    Transfer();
  }
  for (const TestHost::CheckoutCall& call : host.Records().checkouts) EXPECT_NE(call.index, 6);
  EXPECT_EQ(renderer.BlurMapTexture(), 0u);

  host.Params().SetPopup(5, 6);
  Transfer();
  ASSERT_NE(renderer.BlurMapTexture(), 0u) << "the layer uploaded as the map";
  EXPECT_TRUE(gl::glIsTexture(renderer.BlurMapTexture()) == gl::GL_TRUE);
  gl::GLint width = 0;
  gl::glBindTexture(gl::GL_TEXTURE_2D, renderer.BlurMapTexture());
  gl::glGetTexLevelParameteriv(gl::GL_TEXTURE_2D, 0, gl::GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 5);
  // A texture that no render consumed is replaced, not leaked.
  const gl::GLuint first = renderer.BlurMapTexture();
  Transfer();
  EXPECT_NE(renderer.BlurMapTexture(), first);
  EXPECT_FALSE(gl::glIsTexture(first) == gl::GL_TRUE);
  renderer.SetBlurMapTexture(ScopedTexture());

  host.Params().SetLayer(6, nullptr);
  Transfer();
  EXPECT_EQ(renderer.BlurMapTexture(), 0u) << "no layer chosen: no texture";
  EXPECT_EQ(host.Records().OutstandingCheckouts(), 0);
}

// The layer cannot be read: the map of an earlier read that no render drew is
// neither kept for this frame nor leaked, and the layer is checked in again.
TEST_F(ParamTransfer, AFailedLayerReadLeavesNoMap) {
  TestHost::World layer = TestHost::World::Make8(5, 3);
  host.Params().SetLayer(6, layer.Get());
  host.Params().SetPopup(5, 6);
  const struct {
    const char* what;
    PF_Err checkoutError;
    PF_ParamType reportedType;
  } cases[] = {{"check-out refused", PF_Err_OUT_OF_MEMORY, PF_Param_LAYER},
               {"not a layer", PF_Err_NONE, PF_Param_POPUP}};
  for (const auto& c : cases) {
    host.Faults().checkoutErrors.clear();
    host.Faults().wrongTypes.clear();
    Transfer();
    const gl::GLuint undrawn = renderer.BlurMapTexture();
    ASSERT_NE(undrawn, 0u) << c.what;
    if (c.checkoutError != PF_Err_NONE) host.Faults().checkoutErrors[6] = c.checkoutError;
    if (c.reportedType != PF_Param_LAYER) host.Faults().wrongTypes[6] = c.reportedType;
    Transfer();
    EXPECT_EQ(renderer.BlurMapTexture(), 0u) << c.what;
    EXPECT_FALSE(gl::glIsTexture(undrawn) == gl::GL_TRUE) << c.what;
    EXPECT_EQ(host.Records().OutstandingCheckouts(), 0) << c.what;
  }
}

TEST_F(ParamTransfer, TheSameLensShapeKeepsItsProgram) {
  host.Params().SetPopup(1, 2);
  Transfer();
  const OpenglShader* hexagon = renderer.BokehProgram();
  ASSERT_NE(hexagon, nullptr);
  Transfer();
  EXPECT_EQ(renderer.BokehProgram(), hexagon);
  host.Faults().checkoutErrors[1] = PF_Err_OUT_OF_MEMORY;
  Transfer();
  EXPECT_EQ(renderer.BokehProgram(), hexagon) << "a failed read keeps the shape";
  host.Faults().checkoutErrors.clear();
  host.Params().SetPopup(1, 1);
  Transfer();
  EXPECT_EQ(renderer.LensShapeValue(), LensCircular);
}

}  // namespace
}  // namespace Orvane::Lumisk
