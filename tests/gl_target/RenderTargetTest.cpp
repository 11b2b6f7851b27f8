// The render target on real GL: its objects and bindings after each step, the
// pixels a frame carries from its colour layer to the output renderbuffer, and
// frames on two threads' contexts in turn.
#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "gl/AEOpenGLContext.h"
#include "gl/AESDK_OpenGL_Fault.h"
#include "gl/RenderTarget.h"
#include "instruments/GlCallRecorder.h"
#include "tests/gl_target/FramePainter.h"
#include "tests/gl_target/GlQueries.h"
#include "tests/gl_target/PixelPatterns.h"
#include "tests/gl_target/TurnTaking.h"
#include "tests/support/GlTestContext.h"

using namespace gl;

namespace Orvane::Lumisk::Testing {
namespace {

constexpr int kWidth = 12;
constexpr int kHeight = 7;
// The colour layer is 8 bits per channel: one rounding to the nearest of 255
// levels, at most half a level, plus float noise.
constexpr float kLayerTolerance = 0.5f / 255.0f + 1e-5f;

// Output channel i holds layer channel kArgbSource[i] (".argb").
std::vector<float> ArgbOf(const std::vector<float>& rgba) {
  std::vector<float> out(rgba.size());
  for (std::size_t i = 0; i < rgba.size(); i += 4) {
    out[i + 0] = rgba[i + 3];
    out[i + 1] = rgba[i + 0];
    out[i + 2] = rgba[i + 1];
    out[i + 3] = rgba[i + 2];
  }
  return out;
}

std::vector<float> Inverted(std::vector<float> rgba) {
  for (float& value : rgba) {
    value = 1.0f - value;
  }
  return rgba;
}

class RenderTargetTest : public GlContextTest {
protected:
  void TearDown() override {
    EXPECT_TRUE(TakeGlErrors().empty());
    target.reset();
    GlContextTest::TearDown();
  }

  // One frame with `picture` painted into its layer; leaves the output bound.
  void RenderFrame(const std::vector<float>& picture) {
    target->Setup(kWidth, kHeight, false);
    target->BeginFrame(false, false);
    PaintInto(target->FindFrameFramebuffer(), kWidth, kHeight, picture);
    target->Finish(1.0f);
  }

  std::unique_ptr<RenderTarget> target = std::make_unique<RenderTarget>();
};

// ---------------------------------------------------------------- textures

struct TextureSizeCase {
  double x, y;
  GLint texelsX, texelsY;
};

TEST_F(RenderTargetTest, CreateTextureTruncatesTheSizeAndStartsCleared) {
  const TextureSizeCase cases[] = {{100.7, 50.2, 100, 50}, {1.0, 1.0, 1, 1}, {3.999, 2.0, 3, 2}};
  for (const TextureSizeCase& size : cases) {
    SCOPED_TRACE(testing::Message() << size.x << " x " << size.y);
    const GLuint texture = target->CreateTexture(Vec2d(size.x, size.y), true, false);
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(TextureLevelParameter(texture, GL_TEXTURE_WIDTH), size.texelsX);
    EXPECT_EQ(TextureLevelParameter(texture, GL_TEXTURE_HEIGHT), size.texelsY);
    EXPECT_EQ(TextureLevelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), AsInt(GL_RGBA32F));
    const std::vector<float> texels = ReadTextureFloat(texture);
    EXPECT_EQ(texels, std::vector<float>(texels.size(), 0.0f));
    glDeleteTextures(1, &texture);
  }
}

struct FilterCase {
  bool linear, mipmap;
  GLenum minification, magnification;
};

TEST_F(RenderTargetTest, CreateTextureSetsTheFilterTableAndClampsToEdge) {
  const FilterCase cases[] = {
      {true, false, GL_LINEAR, GL_LINEAR},
      {false, false, GL_NEAREST, GL_NEAREST},
      {true, true, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
      {false, true, GL_LINEAR_MIPMAP_NEAREST, GL_NEAREST},
  };
  for (const FilterCase& filter : cases) {
    SCOPED_TRACE(testing::Message() << "linear " << filter.linear << " mipmap " << filter.mipmap);
    const GLuint texture = target->CreateTexture(Vec2d(4, 4), filter.linear, filter.mipmap);
    EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MIN_FILTER), AsInt(filter.minification));
    EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MAG_FILTER), AsInt(filter.magnification));
    EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_WRAP_S), AsInt(GL_CLAMP_TO_EDGE));
    EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_WRAP_T), AsInt(GL_CLAMP_TO_EDGE));
    glDeleteTextures(1, &texture);
  }
}

// ---------------------------------------------------------------- sizing

TEST_F(RenderTargetTest, SetupMakesAFloatOutputOfTheSize) {
  target->Setup(kWidth, kHeight, false);
  const GLuint output = target->OutputRenderbuffer();
  ASSERT_NE(output, 0u);
  EXPECT_EQ(RenderbufferParameter(output, GL_RENDERBUFFER_WIDTH), kWidth);
  EXPECT_EQ(RenderbufferParameter(output, GL_RENDERBUFFER_HEIGHT), kHeight);
  EXPECT_EQ(RenderbufferParameter(output, GL_RENDERBUFFER_INTERNAL_FORMAT), AsInt(GL_RGBA32F));
  EXPECT_NE(target->FindFrameFramebuffer(), 0u);
  EXPECT_TRUE(target->HasCopyPass());
  EXPECT_FALSE(target->Multisample());
}

TEST_F(RenderTargetTest, UnchangedSizeKeepsEveryObjectAndTheStoredMode) {
  target->Setup(kWidth, kHeight, false);
  target->BeginFrame(false, false);
  const GLuint output = target->OutputRenderbuffer();
  const GLuint frame = target->FindFrameFramebuffer();
  const GLuint layer = target->TopColourLayer();

  target->Setup(kWidth, kHeight, true);

  EXPECT_EQ(target->OutputRenderbuffer(), output);
  EXPECT_EQ(target->FindFrameFramebuffer(), frame);
  EXPECT_EQ(target->TopColourLayer(), layer);
  EXPECT_EQ(target->ColourLayerCount(), 1u);
  EXPECT_FALSE(target->Multisample());
  EXPECT_TRUE(glIsRenderbuffer(layer) == GL_TRUE);
}

TEST_F(RenderTargetTest, ChangedSizeRemakesTheObjectsAndDropsEveryLayer) {
  target->Setup(kWidth, kHeight, false);
  target->BeginFrame(false, false);
  target->PushColour(LayerCompanions::Stencil);
  const GLuint oldOutput = target->OutputRenderbuffer();
  const GLuint oldFrame = target->FindFrameFramebuffer();
  const GLuint oldLayer = target->TopColourLayer();
  GLint oldStencil = 0;
  glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME,
                                        &oldStencil);
  ASSERT_NE(oldStencil, 0);

  target->Setup(kWidth + 4, kHeight + 2, false);

  EXPECT_EQ(target->ColourLayerCount(), 0u);
  EXPECT_FALSE(glIsRenderbuffer(oldLayer) == GL_TRUE);
  EXPECT_FALSE(glIsRenderbuffer(static_cast<GLuint>(oldStencil)) == GL_TRUE);
  EXPECT_FALSE(glIsRenderbuffer(oldOutput) == GL_TRUE);
  EXPECT_FALSE(glIsFramebuffer(oldFrame) == GL_TRUE);
  EXPECT_NE(target->FindFrameFramebuffer(), 0u);
  EXPECT_EQ(RenderbufferParameter(target->OutputRenderbuffer(), GL_RENDERBUFFER_WIDTH), kWidth + 4);
  EXPECT_EQ(RenderbufferParameter(target->OutputRenderbuffer(), GL_RENDERBUFFER_HEIGHT), kHeight + 2);
}

TEST_F(RenderTargetTest, ReleaseForgetsTheSizeSoTheSameSizeIsMadeAgain) {
  RenderFrame(DistinctRgbaPattern(kWidth, kHeight));
  target->Release();
  EXPECT_EQ(target->OutputRenderbuffer(), 0u);
  EXPECT_FALSE(target->HasCopyPass());
  EXPECT_EQ(target->Width(), 0);
  EXPECT_EQ(target->Height(), 0);

  const std::vector<float> picture = Inverted(DistinctRgbaPattern(kWidth, kHeight));
  RenderFrame(picture);
  EXPECT_NE(target->OutputRenderbuffer(), 0u);
  ExpectPixelsNear(ArgbOf(picture), ReadPixelsFloat(kWidth, kHeight), kWidth, kLayerTolerance);
}

TEST_F(RenderTargetTest, ReleaseOfAnUnusedTargetDeletesNothing) {
  target->Release();
  EXPECT_EQ(target->OutputRenderbuffer(), 0u);
  EXPECT_FALSE(target->HasCopyPass());
}

struct EmptySizeCase {
  int32_t width, height;
};

TEST_F(RenderTargetTest, AnEmptySizeMakesNoObjectAndAFrameOnItDoesNothing) {
  const EmptySizeCase cases[] = {{0, 0}, {0, 5}, {7, 0}, {-3, 4}};
  for (const bool sizedBefore : {false, true}) {
    for (const EmptySizeCase& size : cases) {
      SCOPED_TRACE(testing::Message() << size.width << " x " << size.height << " sized before " << sizedBefore);
      target = std::make_unique<RenderTarget>();
      if (sizedBefore) {
        target->Setup(kWidth, kHeight, false);
      }
      target->Setup(size.width, size.height, false);
      target->BeginFrame(false, false);
      target->Finish(1.0f);
      EXPECT_EQ(target->OutputRenderbuffer(), 0u);
      EXPECT_EQ(target->FindFrameFramebuffer(), 0u);
      EXPECT_EQ(target->ColourLayerCount(), 0u);
      EXPECT_EQ(GetInteger(GL_DRAW_FRAMEBUFFER_BINDING), 0);
      EXPECT_TRUE(TakeGlErrors().empty());
    }
  }
}

// ---------------------------------------------------------------- GL size limits

// A size the GL cannot hold would give an object without storage (only a GL
// error), so both are refused before any object is made or released.
struct OversizeCase {
  const char* label;
  bool wide, tall;  // that side is the GL's limit plus `beyond`, the other 1
  int32_t beyond;
};

TEST_F(RenderTargetTest, SizesBeyondTheGlLimitThrowAndMakeNothing) {
  const GLint maxTexture = GetInteger(GL_MAX_TEXTURE_SIZE);
  const GLint limit = std::min(maxTexture, GetInteger(GL_MAX_RENDERBUFFER_SIZE));
  const OversizeCase cases[] = {{"too wide", true, false, 1},
                                {"too tall", false, true, 1},
                                {"far too wide", true, false, 1000},
                                {"both", true, true, 1}};
  for (const OversizeCase& size : cases) {
    SCOPED_TRACE(size.label);
    const int32_t width = size.wide ? limit + size.beyond : 1;
    const int32_t height = size.tall ? limit + size.beyond : 1;
    const double textureWidth = size.wide ? maxTexture + size.beyond : 1.0;
    const double textureHeight = size.tall ? maxTexture + size.beyond : 1.0;

    EXPECT_THROW(target->CreateTexture(Vec2d(textureWidth, textureHeight), true, false), AESDK_OpenGL_Fault);
    EXPECT_FALSE(glIsTexture(1) == GL_TRUE) << "no texture name was made";

    target->Setup(kWidth, kHeight, false);
    const GLuint output = target->OutputRenderbuffer();
    const GLuint frame = target->FindFrameFramebuffer();
    try {
      target->Setup(width, height, false);
      ADD_FAILURE() << "no fault";
    } catch (const AESDK_OpenGL_Fault& fault) {
      EXPECT_EQ(fault.code, 1);
    }
    EXPECT_EQ(target->Width(), kWidth);
    EXPECT_EQ(target->Height(), kHeight);
    EXPECT_EQ(target->OutputRenderbuffer(), output) << "the last size's objects stay";
    EXPECT_EQ(target->FindFrameFramebuffer(), frame);
    EXPECT_TRUE(TakeGlErrors().empty()) << "nothing reached the GL";

    const std::vector<float> picture = DistinctRgbaPattern(kWidth, kHeight);
    RenderFrame(picture);
    ExpectPixelsNear(ArgbOf(picture), ReadPixelsFloat(kWidth, kHeight), kWidth, kLayerTolerance);
    target->Release();
  }
}

TEST_F(RenderTargetTest, ATextureExactlyAtTheGlLimitIsMade) {
  const GLint maxTexture = GetInteger(GL_MAX_TEXTURE_SIZE);
  const GLuint texture = target->CreateTexture(Vec2d(maxTexture, 1.0), true, false);
  EXPECT_EQ(TextureLevelParameter(texture, GL_TEXTURE_WIDTH), maxTexture);
  glDeleteTextures(1, &texture);
}

// ---------------------------------------------------------------- frames and passes

TEST_F(RenderTargetTest, BeginFrameBindsAClearedTopLayerAndTheFrameViewport) {
  target->Setup(kWidth, kHeight, false);
  target->BeginFrame(false, false);
  const GLuint layer = target->TopColourLayer();
  EXPECT_EQ(target->ColourLayerCount(), 1u);
  EXPECT_EQ(GetInteger(GL_DRAW_FRAMEBUFFER_BINDING), static_cast<GLint>(target->FindFrameFramebuffer()));
  const Attachment attachment = GetColourAttachment0();
  EXPECT_EQ(attachment.type, AsInt(GL_RENDERBUFFER));
  EXPECT_EQ(attachment.name, static_cast<GLint>(layer));
  EXPECT_EQ(RenderbufferParameter(layer, GL_RENDERBUFFER_INTERNAL_FORMAT), AsInt(GL_RGBA));
  EXPECT_EQ(GetViewport(), (Viewport{0, 0, kWidth, kHeight}));
  EXPECT_FALSE(glIsEnabled(GL_BLEND) == GL_TRUE);
  const std::vector<float> pixels = ReadPixelsFloat(kWidth, kHeight);
  EXPECT_EQ(pixels, std::vector<float>(pixels.size(), 0.0f));
}

TEST_F(RenderTargetTest, TexturePassClearsTheTextureAndHandsTheFrameBack) {
  target->Setup(kWidth, kHeight, false);
  target->BeginFrame(false, false);
  const GLuint frame = target->FindFrameFramebuffer();
  const GLuint layer = target->TopColourLayer();
  const GLuint texture = MakeFloatTexture(7, 4, DistinctRgbaPattern(7, 4));

  target->BeginTexturePass(texture, Vec2d(6.9, 3.2), 0);
  const GLuint pass = static_cast<GLuint>(GetInteger(GL_DRAW_FRAMEBUFFER_BINDING));
  EXPECT_NE(pass, frame);
  EXPECT_EQ(GetColourAttachment0().name, static_cast<GLint>(texture));
  EXPECT_EQ(GetViewport(), (Viewport{0, 0, 6, 3}));
  target->EndTexturePass();

  EXPECT_FALSE(glIsFramebuffer(pass) == GL_TRUE);
  EXPECT_EQ(GetInteger(GL_DRAW_FRAMEBUFFER_BINDING), static_cast<GLint>(frame));
  EXPECT_EQ(GetColourAttachment0().name, static_cast<GLint>(layer));
  EXPECT_EQ(GetInteger(GL_DRAW_BUFFER0), AsInt(GL_COLOR_ATTACHMENT0));
  EXPECT_EQ(GetViewport(), (Viewport{0, 0, kWidth, kHeight}));
  const std::vector<float> texels = ReadTextureFloat(texture);
  EXPECT_EQ(texels, std::vector<float>(texels.size(), 0.0f));
  glDeleteTextures(1, &texture);
}

TEST_F(RenderTargetTest, EndTexturePassDeletesItsOwnFramebufferNotTheBoundOne) {
  target->Setup(kWidth, kHeight, false);
  target->BeginFrame(false, false);
  const GLuint texture = target->CreateTexture(Vec2d(4, 4), true, false);
  target->BeginTexturePass(texture, Vec2d(4, 4), 0);
  const GLuint pass = static_cast<GLuint>(GetInteger(GL_DRAW_FRAMEBUFFER_BINDING));
  GLuint callersFramebuffer = 0;
  glGenFramebuffers(1, &callersFramebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, callersFramebuffer);

  target->EndTexturePass();

  EXPECT_FALSE(glIsFramebuffer(pass) == GL_TRUE);
  EXPECT_TRUE(glIsFramebuffer(callersFramebuffer) == GL_TRUE);
  EXPECT_EQ(GetInteger(GL_DRAW_FRAMEBUFFER_BINDING), static_cast<GLint>(target->FindFrameFramebuffer()));
  glDeleteFramebuffers(1, &callersFramebuffer);
  glDeleteTextures(1, &texture);
}

TEST_F(RenderTargetTest, EndTexturePassWithoutALayerLeavesFramebufferZeroAndThePassViewport) {
  const GLuint texture = target->CreateTexture(Vec2d(5, 3), true, false);
  target->BeginTexturePass(texture, Vec2d(5, 3), 0);
  target->EndTexturePass();
  EXPECT_EQ(GetInteger(GL_DRAW_FRAMEBUFFER_BINDING), 0);
  EXPECT_EQ(GetInteger(GL_RENDERBUFFER_BINDING), 0);
  EXPECT_EQ(GetViewport(), (Viewport{0, 0, 5, 3}));
  glDeleteTextures(1, &texture);
}

TEST_F(RenderTargetTest, ResolveTopPopsIntoAFloatTextureAndReattachesTheLayerBelow) {
  target->Setup(kWidth, kHeight, false);
  target->BeginFrame(false, false);
  const GLuint lower = target->TopColourLayer();
  target->PushColour(LayerCompanions::Depth);
  const GLuint upper = target->TopColourLayer();
  const std::vector<float> picture = DistinctRgbaPattern(kWidth, kHeight);
  PaintInto(target->FindFrameFramebuffer(), kWidth, kHeight, picture);

  const ScopedTexture upperTexture = target->ResolveTop();
  EXPECT_FALSE(glIsRenderbuffer(upper) == GL_TRUE);
  EXPECT_EQ(GetColourAttachment0().name, static_cast<GLint>(lower));
  EXPECT_EQ(TextureLevelParameter(upperTexture.Get(), GL_TEXTURE_INTERNAL_FORMAT), AsInt(GL_RGBA32F));
  ExpectPixelsNear(picture, ReadTextureFloat(upperTexture.Get()), kWidth, kLayerTolerance);

  const ScopedTexture lowerTexture = target->ResolveTop();
  EXPECT_EQ(target->ColourLayerCount(), 0u);
  EXPECT_EQ(GetInteger(GL_DRAW_FRAMEBUFFER_BINDING), static_cast<GLint>(target->FindFrameFramebuffer()));
  EXPECT_EQ(GetColourAttachment0().type, AsInt(GL_NONE));
  const std::vector<float> lowerTexels = ReadTextureFloat(lowerTexture.Get());
  EXPECT_EQ(lowerTexels, std::vector<float>(lowerTexels.size(), 0.0f));
  EXPECT_EQ(target->ResolveTop().Get(), 0u);
}

TEST_F(RenderTargetTest, FinishLeavesTheFloatOutputBoundHoldingTheLayerInArgbOrder) {
  const std::vector<float> picture = DistinctRgbaPattern(kWidth, kHeight);
  RenderFrame(picture);
  EXPECT_EQ(target->ColourLayerCount(), 0u);
  EXPECT_EQ(GetInteger(GL_DRAW_FRAMEBUFFER_BINDING), static_cast<GLint>(target->FindFrameFramebuffer()));
  EXPECT_EQ(GetInteger(GL_READ_FRAMEBUFFER_BINDING), static_cast<GLint>(target->FindFrameFramebuffer()));
  const Attachment attachment = GetColourAttachment0();
  EXPECT_EQ(attachment.type, AsInt(GL_RENDERBUFFER));
  EXPECT_EQ(attachment.name, static_cast<GLint>(target->OutputRenderbuffer()));
  ExpectPixelsNear(ArgbOf(picture), ReadPixelsFloat(kWidth, kHeight), kWidth, kLayerTolerance);
}

TEST_F(RenderTargetTest, FinishWithoutALayerTouchesNothing) {
  target->Setup(kWidth, kHeight, false);
  ScopedFloatTarget callers(4, 4);
  target->Finish(1.0f);
  EXPECT_EQ(GetInteger(GL_DRAW_FRAMEBUFFER_BINDING), static_cast<GLint>(callers.Framebuffer()));
  EXPECT_EQ(GetViewport(), (Viewport{0, 0, 4, 4}));
}

// The name of the renderbuffer at `attachment` of the bound draw framebuffer, 0 for none.
GLuint AttachedRenderbuffer(GLenum attachment) {
  GLint type = 0;
  glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, attachment, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
  if (type != AsInt(GL_RENDERBUFFER)) return 0;
  GLint name = 0;
  glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, attachment, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
  return static_cast<GLuint>(name);
}

// A layer's depth or stencil companion goes with it, whether the layer is
// resolved or released with the target's objects. (One companion at a time:
// separate depth and stencil buffers make no complete framebuffer here.)
TEST_F(RenderTargetTest, CompanionsAreDeletedWithTheirLayer) {
  for (const GLenum attachment : {GL_DEPTH_ATTACHMENT, GL_STENCIL_ATTACHMENT}) {
    for (const bool resolved : {true, false}) {
      const bool depth = attachment == GL_DEPTH_ATTACHMENT;
      SCOPED_TRACE(std::string(depth ? "depth" : "stencil") + (resolved ? ", resolved" : ", released"));
      target->Setup(kWidth, kHeight, false);
      target->BeginFrame(false, false);
      target->PushColour(depth ? LayerCompanions::Depth : LayerCompanions::Stencil);
      const GLuint companion = AttachedRenderbuffer(attachment);
      ASSERT_NE(companion, 0u);
      if (resolved) {
        target->ResolveTop();
      } else {
        target->ReleaseGL();
      }
      EXPECT_FALSE(glIsRenderbuffer(companion) == GL_TRUE);
      target->Release();
    }
  }
}

// The two flags of BeginFrame name the same companions as LayerCompanions.
TEST_F(RenderTargetTest, BeginFramePushesTheCompanionsItsFlagsAskFor) {
  struct Case {
    bool depth;
    bool stencil;
  };
  // One companion at a time, as above.
  for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}}) {
    SCOPED_TRACE(std::string("depth ") + (c.depth ? "on" : "off") + ", stencil " + (c.stencil ? "on" : "off"));
    target->Setup(kWidth, kHeight, false);
    target->BeginFrame(c.depth, c.stencil);
    EXPECT_EQ(AttachedRenderbuffer(GL_DEPTH_ATTACHMENT) != 0, c.depth);
    EXPECT_EQ(AttachedRenderbuffer(GL_STENCIL_ATTACHMENT) != 0, c.stencil);
    target->Release();
  }
  for (const bool depth : {false, true}) {
    for (const bool stencil : {false, true}) {
      const LayerCompanions companions = LayerCompanionsOf(depth, stencil);
      EXPECT_EQ(HasDepth(companions), depth) << "stencil " << stencil;
      EXPECT_EQ(HasStencil(companions), stencil) << "depth " << depth;
    }
  }
}

// A frame given up is dropped: its layer and companion go without a resolve
// texture, and the layer below is attached again.
TEST_F(RenderTargetTest, DropTopDeletesTheLayerWithoutAResolveAndReattachesTheLayerBelow) {
  target->Setup(kWidth, kHeight, false);
  target->BeginFrame(false, false);
  const GLuint lower = target->TopColourLayer();
  target->PushColour(LayerCompanions::Depth);
  const GLuint upper = target->TopColourLayer();
  const GLuint companion = AttachedRenderbuffer(GL_DEPTH_ATTACHMENT);
  ASSERT_NE(companion, 0u);

  TestHost::GlCallRecorder recorder;
  target->DropTop();
  EXPECT_EQ(recorder.Count("glGenTextures"), 0) << "nothing is resolved";
  EXPECT_EQ(target->ColourLayerCount(), 1u);
  EXPECT_FALSE(glIsRenderbuffer(upper) == GL_TRUE);
  EXPECT_FALSE(glIsRenderbuffer(companion) == GL_TRUE);
  EXPECT_EQ(GetColourAttachment0().name, static_cast<GLint>(lower));

  target->DropTop();
  EXPECT_EQ(target->ColourLayerCount(), 0u);
  EXPECT_FALSE(glIsRenderbuffer(lower) == GL_TRUE);
  EXPECT_EQ(GetInteger(GL_DRAW_FRAMEBUFFER_BINDING), static_cast<GLint>(target->FindFrameFramebuffer()));
  EXPECT_EQ(GetColourAttachment0().type, AsInt(GL_NONE));
  recorder.Clear();
  target->DropTop();
  EXPECT_TRUE(recorder.Calls().empty()) << "no layer: no GL call";
}

// A fresh framebuffer draws into attachment 0 anyway; one whose draw buffer a
// pass changed shows whether the frame sets it again.
TEST_F(RenderTargetTest, BeginFrameAndEndTexturePassSetTheDrawBuffer) {
  target->Setup(kWidth, kHeight, false);
  const GLuint frame = target->FindFrameFramebuffer();
  ASSERT_NE(frame, 0u);
  glBindFramebuffer(GL_FRAMEBUFFER, frame);
  glDrawBuffer(GL_NONE);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  target->BeginFrame(false, false);
  EXPECT_EQ(GetInteger(GL_DRAW_BUFFER0), AsInt(GL_COLOR_ATTACHMENT0)) << "BeginFrame";

  const GLuint texture = target->CreateTexture(Vec2d(4, 4), true, false);
  target->BeginTexturePass(texture, Vec2d(4, 4), 0);
  glBindFramebuffer(GL_FRAMEBUFFER, frame);
  glDrawBuffer(GL_NONE);
  target->EndTexturePass();
  EXPECT_EQ(GetInteger(GL_DRAW_BUFFER0), AsInt(GL_COLOR_ATTACHMENT0)) << "EndTexturePass";
  glDeleteTextures(1, &texture);
}

// Blending left on by a pass would mix the copy into the cleared output.
TEST_F(RenderTargetTest, FinishDrawsWithBlendAndMultisampleOff) {
  const std::vector<float> picture = DistinctRgbaPattern(kWidth, kHeight);
  target->Setup(kWidth, kHeight, false);
  target->BeginFrame(false, false);
  PaintInto(target->FindFrameFramebuffer(), kWidth, kHeight, picture);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ZERO, GL_ZERO);
  glEnable(GL_MULTISAMPLE);
  target->Finish(1.0f);
  EXPECT_FALSE(glIsEnabled(GL_BLEND) == GL_TRUE);
  EXPECT_FALSE(glIsEnabled(GL_MULTISAMPLE) == GL_TRUE);
  ExpectPixelsNear(ArgbOf(picture), ReadPixelsFloat(kWidth, kHeight), kWidth, kLayerTolerance);
  glBlendFunc(GL_ONE, GL_ZERO);
}

TEST_F(RenderTargetTest, IncompleteMultisampleLayerPrintsTheStatus) {
  errorCheck.reset();  // eight samples may exceed what the driver offers
  target->Setup(kWidth, kHeight, true);
  testing::internal::CaptureStdout();
  target->PushColour(LayerCompanions::None);
  const std::string printed = testing::internal::GetCapturedStdout();
  const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  TakeGlErrors();  // eight samples may exceed what the driver offers
  if (status == GL_FRAMEBUFFER_COMPLETE) {
    EXPECT_EQ(printed, "");
  } else {
    EXPECT_EQ(printed, "framebuffer incomplete:" + std::to_string(static_cast<int>(status)));
  }
}

// ---------------------------------------------------------------- contexts and threads

TEST_F(RenderTargetTest, FramesOnTwoThreadsInTurnUseEachContextsOwnFramebuffers) {
  const std::vector<float> pictures[] = {DistinctRgbaPattern(kWidth, kHeight),
                                         Inverted(DistinctRgbaPattern(kWidth, kHeight)),
                                         ArgbOf(DistinctRgbaPattern(kWidth, kHeight))};
  GLuint frameOf[3] = {0, 0, 0};
  RunOnThreadsInTurn(glContext->Root(), {{0, 2}, {1}}, [&](int turn) {
    RenderFrame(pictures[turn]);
    frameOf[turn] = target->FindFrameFramebuffer();
    ExpectPixelsNear(ArgbOf(pictures[turn]), ReadPixelsFloat(kWidth, kHeight), kWidth, kLayerTolerance);
    EXPECT_TRUE(TakeGlErrors().empty()) << "turn " << turn;
  });
  // Mesa lets a share group see every framebuffer, so GL alone would not show a
  // framebuffer used outside its context: each context must hold its own name.
  EXPECT_NE(frameOf[0], 0u);
  EXPECT_NE(frameOf[1], 0u);
  EXPECT_NE(frameOf[0], frameOf[1]);
  EXPECT_EQ(frameOf[0], frameOf[2]);  // the first thread's context kept its own framebuffer
}

TEST(RenderTargetInstanceTest, IsOneInstanceForEveryThread) {
  RenderTarget* fromOtherThread = nullptr;
  std::thread other([&] { fromOtherThread = RenderTarget::Instance(); });
  RenderTarget* here = RenderTarget::Instance();
  other.join();
  ASSERT_NE(here, nullptr);
  EXPECT_EQ(here, fromOtherThread);
  EXPECT_EQ(here->OutputRenderbuffer(), 0u);
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
