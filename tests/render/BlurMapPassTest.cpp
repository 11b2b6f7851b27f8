// The blur-map pass's placement and the uniforms it hands the map program.
#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "RenderHarness.h"
#include "gl/OpenglShader.h"
#include "gl/RenderTarget.h"
#include "render/BlurMapPass.h"

namespace Orvane::Lumisk::Testing {
namespace {

using namespace gl;

void Place(BlurMapPass& pass, double scaleX, double scaleY, double rotation, Vec2d center) {
  pass.scaleX = scaleX;
  pass.scaleY = scaleY;
  pass.rotation = rotation;
  pass.center = center;
}

TEST(BlurMapPlacement, CentredUnitPlacementIsTheIdentity) {
  BlurMapPass pass;
  Place(pass, 1.0, 1.0, 0.0, Vec2d(50, 30));
  for (int type = 1; type <= 4; ++type) {
    const Affine2D t = pass.Transform(type, Vec2d(100, 60));
    EXPECT_DOUBLE_EQ(t.a, 1.0);
    EXPECT_DOUBLE_EQ(t.d, 1.0);
    EXPECT_NEAR(t.b, 0.0, 1e-15);
    EXPECT_NEAR(t.c, 0.0, 1e-15);
    EXPECT_NEAR(t.tx, 0.0, 1e-12);
    EXPECT_NEAR(t.ty, 0.0, 1e-12);
  }
}

TEST(BlurMapPlacement, CircleFrameCarriesNoScale) {
  BlurMapPass pass;
  Place(pass, 0.5, 2.0, 90.0, Vec2d(70, 20));
  const Affine2D circle = pass.Transform(3, Vec2d(100, 60));
  // Rotation and centre only: the centre goes to the view centre, and a
  // step along +y in the view is a step along +x in the frame (90 degrees).
  const Vec2d c = circle.Apply(Vec2d(70, 20));
  EXPECT_NEAR(c.x, 50.0, 1e-9);
  EXPECT_NEAR(c.y, 30.0, 1e-9);
  const Vec2d below = circle.Apply(Vec2d(70, 21));
  EXPECT_NEAR(below.x - c.x, 1.0, 1e-9);
  EXPECT_NEAR(below.y - c.y, 0.0, 1e-9);
  // The square's frame is scaled: one view pixel along +y is 1 / 0.5 cells.
  const Affine2D square = pass.Transform(4, Vec2d(100, 60));
  const Vec2d s0 = square.Apply(Vec2d(70, 20));
  const Vec2d s1 = square.Apply(Vec2d(70, 21));
  EXPECT_NEAR(s1.x - s0.x, 2.0, 1e-9);
}

TEST(BlurMapPlacement, SingularPlacementsTakeTheFallbackInverse) {
  // Determinant 5e-7: Affine2D::Invert declines, the fallback is exact.
  BlurMapPass small;
  Place(small, 0.0005, 0.001, 20.0, Vec2d(10, 12));
  const Affine2D t = small.Transform(4, Vec2d(40, 30));
  Affine2D placement(true);
  placement.Compose(Vec2d(20, 15), Vec2d(10, 12), Vec2d(0.0005, 0.001), 20.0);
  const Vec2d back = t.Apply(placement.Apply(Vec2d(3.0, 4.0)));
  EXPECT_NEAR(back.x, 3.0, 1e-6);
  EXPECT_NEAR(back.y, 4.0, 1e-6);
  // A zero scale: the linear part is zero, every pixel maps to one point.
  BlurMapPass flat;
  Place(flat, 0.0, 1.0, 0.0, Vec2d(20, 15));
  const Affine2D z = flat.Transform(4, Vec2d(40, 30));
  EXPECT_EQ(z.a, 0.0);
  EXPECT_EQ(z.b, 0.0);
  EXPECT_EQ(z.c, 0.0);
  EXPECT_EQ(z.d, 0.0);
}

class BlurMapUniformsTest : public GlContextTest {};

std::vector<float> Uniform(const OpenglShader* program, const char* name) {
  std::vector<float> values(9, 0.0f);
  const GLint location = glGetUniformLocation(program->Program(), name);
  EXPECT_NE(location, -1) << name;
  glGetUniformfv(program->Program(), location, values.data());
  return values;
}

TEST_F(BlurMapUniformsTest, PointsFeatherAndScaleByMapType) {
  struct Case {
    int type;
    double feather;
    float point1x, point1y, point2x, point2y, featherUniform;
  };
  const Case cases[] = {
      {1, 0.0, 960, 0, 960, 1080, 0.5f},
      {2, 3.0, 960, 0, 960, 1080, 3.0f},
      {3, 0.2, 960, 540, 640, 640, 0.5f},
      {4, 250.0, 960, 540, 640, 640, 250.0f},
  };
  for (const Case& c : cases) {
    BlurMapPass pass;
    pass.feather = c.feather;
    pass.scaleX = 0.5;
    pass.scaleY = 2.0;
    pass.center = Vec2d(960, 540);
    pass.SetMapType(c.type);
    OpenglShader* program = pass.MapProgram();
    program->Use();
    pass.SetUniforms(program, Vec2d(1920, 1080));
    EXPECT_EQ(Uniform(program, "linearPoint1"), (std::vector<float>{c.point1x, c.point1y, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Uniform(program, "linearPoint2"), (std::vector<float>{c.point2x, c.point2y, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Uniform(program, "feather")[0], c.featherUniform);
    EXPECT_EQ(Uniform(program, "scale")[0], 0.5f);
    EXPECT_EQ(Uniform(program, "scale")[1], 2.0f);
    // Column-major mat3 of the inverse placement; its last row is 0 0 1.
    const std::vector<float> m = Uniform(program, "transform");
    EXPECT_EQ(m[2], 0.0f);
    EXPECT_EQ(m[5], 0.0f);
    EXPECT_EQ(m[8], 1.0f);
    const float expectedA = c.type == 3 ? 1.0f : 2.0f;  // 1 / scaleX, except for the circle
    EXPECT_FLOAT_EQ(m[0], expectedA) << "type " << c.type;
    glUseProgram(0);
  }
}

TEST_F(BlurMapUniformsTest, TypesWithoutAGeneratorDrawNothing) {
  BlurMapPass pass;
  for (int type : {0, 5, -1, 6}) {
    pass.Render(Vec2d(8, 8), 0, type);
    EXPECT_EQ(pass.MapProgram(), nullptr) << type;
    EXPECT_EQ(pass.ProgramType(), 0);
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
