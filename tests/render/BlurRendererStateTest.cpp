// What the renderer keeps between renders: programs built once per shape
// and map type, the map texture gone after every render, the grid uniforms,
// and vertex arrays per context so that a second thread's context draws.
#include <thread>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "RenderHarness.h"
#include "gl/AEOpenGLContext.h"
#include "gl/OpenglShader.h"
#include "gl/RenderTarget.h"
#include "render/BlurMapPass.h"
#include "render/RowPrefixSumPass.h"

namespace Orvane::Lumisk::Testing {
namespace {

using namespace gl;
using Reference::Image;
using Reference::ReferenceSettings;

float UniformValue(const OpenglShader* program, const char* name, int component = 0) {
  float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  const GLint location = glGetUniformLocation(program->Program(), name);
  EXPECT_NE(location, -1) << name;
  glGetUniformfv(program->Program(), location, values);
  return values[component];
}

TEST_F(RendererTest, LensShapeProgramIsBuiltOncePerShape) {
  const Image input = NoiseImage(16, 16, 1);
  EXPECT_EQ(renderer->BokehProgram(), nullptr);
  ReferenceSettings s;
  s.lensShape = 1;
  s.blurAmount = 3;
  Render(input, s);
  ASSERT_NE(renderer->BokehProgram(), nullptr);
  const OpenglShader* built = renderer->BokehProgram();
  ASSERT_NE(built->Program(), 0u);
  // The same shape keeps the linked program; a new one starts unlinked.
  renderer->SetLensShape(1);
  EXPECT_EQ(renderer->BokehProgram(), built);
  EXPECT_NE(renderer->BokehProgram()->Program(), 0u);
  renderer->SetLensShape(0);
  EXPECT_EQ(renderer->BokehProgram()->Program(), 0u);
  EXPECT_EQ(renderer->LensShapeValue(), 0);
  // Any other value is the pentagon.
  s.lensShape = 7;
  s.blurAmount = 12;
  const Image out = Render(input, s);
  ReferenceSettings pentagon = s;
  pentagon.lensShape = 2;
  EXPECT_LE(MaxLevelDifference(out, Reference::RenderReference(input, pentagon)).levels, Reference::kToleranceLevels);
  EXPECT_EQ(renderer->LensShapeValue(), 7);
}

TEST_F(RendererTest, MapProgramIsRebuiltOnlyWhenTheDrawnTypeChanges) {
  const Image input = NoiseImage(16, 16, 2);
  BlurMapPass& pass = renderer->MapPass();
  ReferenceSettings s;
  s.scaleX = s.scaleY = 1.0;
  s.blurAmount = 4;
  s.mapType = 0;
  Render(input, s);
  EXPECT_EQ(pass.MapProgram(), nullptr);  // "None" builds nothing
  s.mapType = 3;
  Render(input, s);
  const OpenglShader* circle = pass.MapProgram();
  ASSERT_NE(circle, nullptr);
  EXPECT_NE(circle->Program(), 0u);
  for (int type : {0, 5}) {  // neither touches the circle's program
    s.mapType = type;
    Render(input, s);
    EXPECT_EQ(pass.ProgramType(), 3);
    EXPECT_EQ(pass.MapProgram(), circle);
  }
  pass.SetMapType(3);
  EXPECT_NE(pass.MapProgram()->Program(), 0u) << "the circle program was built again";
  for (int type : {1, 2, 1}) {
    pass.SetMapType(type);
    EXPECT_EQ(pass.ProgramType(), type);
    EXPECT_EQ(pass.MapProgram()->Program(), 0u) << "type " << type << " reused a program";
    s.mapType = type;
    Render(input, s);
  }
}

TEST_F(RendererTest, MapTextureIsDeletedAfterEveryRender) {
  const Image input = NoiseImage(12, 10, 3);
  const Image map = NoiseImage(5, 4, 4);
  for (int type = 0; type <= 5; ++type) {
    ReferenceSettings s;
    s.mapType = type;
    s.scaleX = s.scaleY = 1.0;
    s.blurAmount = 5;
    // For the custom layer this is its map; for every other type it is
    // what a render that failed after reading the parameters left behind.
    const GLuint held = UploadImage(map);
    renderer->SetBlurMapTexture(ScopedTexture(held));
    ApplySettings(*renderer, s);
    RenderTarget::Instance()->Setup(12, 10, false);
    RenderTarget::Instance()->BeginFrame(false, false);
    const GLuint source = UploadImage(input);
    renderer->Render(source, Vec2d(12, 10));
    EXPECT_EQ(renderer->BlurMapTexture(), 0u) << "type " << type;
    EXPECT_EQ(glIsTexture(held), GL_FALSE) << "type " << type;
    EXPECT_EQ(glIsTexture(source), GL_TRUE) << "the source belongs to the caller";
    glDeleteTextures(1, &source);
    RenderTarget::Instance()->Finish(1.0f);
  }
}

TEST_F(RendererTest, DestroyingTheRendererDeletesItsTexturesAndPrograms) {
  ReferenceSettings s;
  s.blurAmount = 5;
  s.mapType = 3;
  s.scaleX = s.scaleY = 1.0;
  Render(NoiseImage(16, 12, 1), s);
  const GLuint textures[] = {renderer->PrefixSumPass().Texture(0), renderer->PrefixSumPass().Texture(1)};
  const GLuint programs[] = {renderer->BokehProgram()->Program(), renderer->MapPass().MapProgram()->Program()};
  for (GLuint texture : textures) ASSERT_EQ(glIsTexture(texture), GL_TRUE);
  for (GLuint program : programs) ASSERT_EQ(glIsProgram(program), GL_TRUE);
  renderer.reset();
  for (GLuint texture : textures) EXPECT_EQ(glIsTexture(texture), GL_FALSE) << "prefix texture " << texture;
  for (GLuint program : programs) EXPECT_EQ(glIsProgram(program), GL_FALSE) << "program " << program;
  renderer = std::make_unique<BlurRenderer>();  // for the fixture's tear-down
}

TEST_F(RendererTest, GridUniformsFollowTheQuality) {
  struct Case {
    int quality, width, height;
    float step;
    float gridWidth, gridHeight;
  };
  const Case cases[] = {{0, 33, 17, 1.0f, 33.0f, 17.0f}, {1, 33, 17, 2.0f, 17.0f, 9.0f}};
  for (const Case& c : cases) {
    ReferenceSettings s;
    s.quality = c.quality;
    s.blurAmount = 6;
    s.focalDistance = 0.25;
    Render(NoiseImage(c.width, c.height, 5), s);
    const OpenglShader* program = renderer->BokehProgram();
    EXPECT_EQ(renderer->PrefixSumPass().Step(), static_cast<int>(c.step));
    EXPECT_EQ(UniformValue(program, "JDStep"), c.step);
    EXPECT_EQ(UniformValue(program, "jfMapSize", 0), c.gridWidth);
    EXPECT_EQ(UniformValue(program, "jfMapSize", 1), c.gridHeight);
    EXPECT_EQ(UniformValue(program, "blurAmount"), 6.0f);
    EXPECT_EQ(UniformValue(program, "focalDistance"), 0.25f);
    EXPECT_EQ(UniformValue(program, "enableBlurMap"), 0.0f);
  }
}

TEST_F(RendererTest, LargerViewDimensionSetsTheLevels) {
  for (const Vec2d& view : {Vec2d(64, 24), Vec2d(24, 64)}) {
    ReferenceSettings s;
    s.blurAmount = 2;
    Render(NoiseImage(static_cast<int>(view.x), static_cast<int>(view.y), 6), s);
    EXPECT_EQ(renderer->PrefixSumPass().MaxLevel(), 6) << view.x << " x " << view.y;
  }
}

// An empty view makes empty textures and draws nothing, and still leaves no
// map texture behind.
TEST_F(RendererTest, EmptyViewRendersNothing) {
  // The passes still draw into their empty (incomplete) framebuffers, which
  // the GL answers with GL_INVALID_FRAMEBUFFER_OPERATION; the render command
  // never renders an empty view.
  errorCheck.reset();
  ReferenceSettings s;
  s.blurAmount = 8;
  s.mapType = 3;
  s.scaleX = s.scaleY = 1.0;
  ApplySettings(*renderer, s);
  RenderTarget::Instance()->Setup(0, 0, false);
  RenderTarget::Instance()->BeginFrame(false, false);
  renderer->Render(0, Vec2d(0, 0));
  EXPECT_EQ(renderer->BlurMapTexture(), 0u);
  EXPECT_EQ(renderer->PrefixSumPass().Size().x, 0);
  EXPECT_EQ(renderer->PrefixSumPass().MaxLevel(), 1);
  RenderTarget::Instance()->Finish(1.0f);
}

// A second thread renders in its own context, shared with the first: the
// passes and the render target need vertex arrays and framebuffers of that
// context, or its draws produce nothing.
TEST_F(RendererTest, RendersOnTwoThreadsBothDraw) {
  const Image input = NoiseImage(24, 18, 8);
  ReferenceSettings s;
  s.blurAmount = 9;
  s.lensShape = 1;
  s.mapType = 3;
  s.scaleX = s.scaleY = 1.0;
  s.feather = 2.0;
  s.centerX = 12.0;
  s.centerY = 9.0;
  const Image expected = Reference::RenderReference(input, s);
  EXPECT_LE(MaxLevelDifference(Render(input, s), expected).levels, Reference::kToleranceLevels);

  std::thread other([&] {
    AEOpenGLContext context(&glContext->Root());
    EXPECT_LE(MaxLevelDifference(Render(input, s), expected).levels, Reference::kToleranceLevels) << "second thread";
  });
  other.join();

  glContext->Context().MakeCurrent();
  EXPECT_LE(MaxLevelDifference(Render(input, s), expected).levels, Reference::kToleranceLevels) << "first thread again";
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
