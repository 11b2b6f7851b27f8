// The road of one render through the GL runtime: upload an 8-bit world with
// padded rows, size the target, push a layer, draw the uploaded texture into
// it, finish and read back into an output world. The bytes come back equal, in
// the host's A, R, G, B order, rows not flipped; on one thread and on two
// threads' contexts in turn.
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "gl/CopyPassSources.h"
#include "gl/HostFrameTransfer.h"
#include "gl/OpenglShader.h"
#include "gl/RenderTarget.h"
#include "tests/gl_target/GlQueries.h"
#include "tests/gl_target/TransferFixture.h"
#include "tests/gl_target/TurnTaking.h"

using namespace gl;

namespace Orvane::Lumisk::Testing {
namespace {

// Draws a host-frame texture over the viewport in natural channel order, as
// the renderer's programs read such textures (".gbar").
const char* const kNaturalOrderSource = R"(#version 330
in vec2 uv;
out vec4 colourOut;
uniform sampler2D frame;
void main() {
    colourOut = texture(frame, uv).gbar;
}
)";

void DrawNaturalOrder(GLuint texture) {
  static const float quad[] = {1,  -1, 0, 1, 0, 1,  1,  0, 1, 1, -1, 1,  0, 0, 1,
                               -1, 1,  0, 0, 1, -1, -1, 0, 0, 0, 1,  -1, 0, 1, 0};
  OpenglShader shader(CopyVertexSource, kNaturalOrderSource);
  shader.AddAttribute("position", 0);
  shader.AddAttribute("input_uv", 1);
  shader.Use();
  GLuint vao = 0;
  GLuint vbo = 0;
  glGenVertexArrays(1, &vao);
  glBindVertexArray(vao);
  glGenBuffers(1, &vbo);
  glBindBuffer(GL_ARRAY_BUFFER, vbo);
  glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
  shader.SetAttribute3f(0, 0, 20);
  shader.SetAttribute2f(1, 12, 20);
  shader.SetTexture("frame", GL_TEXTURE_2D, texture, 0);
  glDrawArrays(GL_TRIANGLES, 0, 6);
  glBindVertexArray(0);
  glDeleteBuffers(1, &vbo);
  glDeleteVertexArrays(1, &vao);
}

// One render of `input` into `output` through `target`, the way the render
// command drives the runtime.
void RenderRoad(RenderTarget& target, World& input, World& output, PF_InData* in_data) {
  uint64_t bytesPerPixel = 4;
  GLenum type = GL_UNSIGNED_BYTE;
  float multiplier = 1.0f;
  target.Setup(input.Width(), input.Height(), false);
  target.BeginFrame(false, false);
  const GLuint texture =
      UploadWorldToTexture(kPixelFormatArgb8, input.Get(), in_data, &bytesPerPixel, &type, &multiplier, false);
  DrawNaturalOrder(texture);
  glDeleteTextures(1, &texture);
  target.Finish(multiplier);
  ReadBackToWorld(static_cast<uint32_t>(input.Width()), static_cast<uint32_t>(input.Height()), input.Get(),
                  output.Get(), in_data, kPixelFormatArgb8, bytesPerPixel, type);
}

// An 8-bit picture that differs per frame, so a stale output cannot pass.
void FillFrame(World& world, int frame) {
  FillPattern(world);
  for (int y = 0; y < world.Height(); ++y) {
    for (int x = 0; x < world.Width(); ++x) {
      PF_Pixel8& p = world.Pixel8(x, y);
      p.red = static_cast<uint8_t>(p.red + 17 * frame);
      p.blue = static_cast<uint8_t>(p.blue ^ (frame * 0x5A));
    }
  }
}

void ExpectSamePixels(const World& expected, const World& actual) {
  ExpectWorld(
      actual, [&](int x, int y, int c) { return WorldChannel(expected, x, y, c); }, 0.0);
  EXPECT_TRUE(actual.PaddingUntouched());
}

class EndToEndRoadTest : public TransferTest {
protected:
  static constexpr int kWidth = 19;   // odd widths and padded rows show shear
  static constexpr int kHeight = 11;  // and an odd height shows a flip
  static constexpr int kPadding = 20;

  void TearDown() override {
    target.reset();
    TransferTest::TearDown();
  }

  std::unique_ptr<RenderTarget> target = std::make_unique<RenderTarget>();
};

// Each 8-bit value goes to float, to the 8-bit layer and back through float to
// 8 bits: every step is exact, so the bytes must be equal.
TEST_F(EndToEndRoadTest, BytesComeBackEqualOnOneThread) {
  for (int frame = 0; frame < 2; ++frame) {
    SCOPED_TRACE(testing::Message() << "frame " << frame);
    World input = World::Make8(kWidth, kHeight, kPadding);
    World output = World::Make8(kWidth, kHeight, kPadding + 4);
    FillFrame(input, frame);
    RenderRoad(*target, input, output, InData());
    ExpectSamePixels(input, output);
    EXPECT_TRUE(TakeGlErrors().empty());
  }
  EXPECT_EQ(host.LiveHandles(), 0);
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
}

TEST_F(EndToEndRoadTest, BytesComeBackEqualOnTwoThreadsInTurn) {
  RunOnThreadsInTurn(glContext->Root(), {{0, 2}, {1, 3}}, [&](int turn) {
    World input = World::Make8(kWidth, kHeight, kPadding);
    World output = World::Make8(kWidth, kHeight, kPadding);
    FillFrame(input, turn);
    EXPECT_EQ(ThrownCode([&] { RenderRoad(*target, input, output, InData()); }), -1) << "turn " << turn;
    ExpectSamePixels(input, output);
    EXPECT_TRUE(TakeGlErrors().empty()) << "turn " << turn;
  });
  EXPECT_EQ(host.LiveHandles(), 0);
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
