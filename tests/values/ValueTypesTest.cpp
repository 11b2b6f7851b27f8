// Vec2d, Vec2i and Affine2D: pure arithmetic, no GL.

#include <cmath>

#include <gtest/gtest.h>

#include "gl/Affine2D.h"
#include "gl/Vec2i.h"

namespace Orvane::Lumisk {
namespace {

// Products of a few doubles: a few ulps of the operands' size.
constexpr double kTolerance = 1e-12;

void ExpectPointNear(const Vec2d& actual, const Vec2d& expected) {
  EXPECT_NEAR(actual.x, expected.x, kTolerance);
  EXPECT_NEAR(actual.y, expected.y, kTolerance);
}

Affine2D Matrix(double a, double b, double tx, double c, double d, double ty) {
  Affine2D m(false);
  m.a = a;
  m.b = b;
  m.tx = tx;
  m.c = c;
  m.d = d;
  m.ty = ty;
  return m;
}

TEST(Vec2dTest, ZeroSetAndScaled) {
  Vec2d v(3.0, -4.0);
  const Vec2d scaled = v.Scaled(0.5);
  ExpectPointNear(scaled, Vec2d(1.5, -2.0));
  ExpectPointNear(v, Vec2d(3.0, -4.0));  // unchanged
  ExpectPointNear(v.Zero(), Vec2d(0.0, 0.0));
  v.Set(7.0, 8.0);
  ExpectPointNear(v, Vec2d(7.0, 8.0));
}

TEST(Vec2iTest, InequalityComparesBothComponents) {
  struct Case {
    Vec2i left, right;
    bool differs;
  };
  const Case cases[] = {
      {{1, 2}, {1, 3}, true},
      {{1, 2}, {0, 2}, true},
      {{1, 2}, {1, 2}, false},
      {{}, {0, 0}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.left != c.right, c.differs) << c.left.x << "," << c.left.y;
  }
}

TEST(Affine2DTest, ConstructionIsIdentityOrZero) {
  const Affine2D identity(true);
  ExpectPointNear(identity.Apply(Vec2d(5.0, -6.0)), Vec2d(5.0, -6.0));
  const Affine2D zero(false);
  EXPECT_EQ(zero.a, 0.0);
  EXPECT_EQ(zero.d, 0.0);
  ExpectPointNear(zero.Apply(Vec2d(5.0, -6.0)), Vec2d(0.0, 0.0));
}

TEST(Affine2DTest, InversionAtTheSingularThreshold) {
  struct Case {
    const char* what;
    Affine2D matrix;
    bool inverts;
  };
  const Case cases[] = {
      {"all zero", Affine2D(false), false},
      {"det exactly 1e-6", Matrix(1e-6, 0, 3, 0, 1, 4), true},
      {"det exactly -1e-6", Matrix(-1e-6, 0, 3, 0, 1, 4), true},
      {"det 9.9e-7", Matrix(9.9e-7, 0, 3, 0, 1, 4), false},
      {"det -9.9e-7", Matrix(-9.9e-7, 0, 3, 0, 1, 4), false},
      {"general", Matrix(2, 1, 5, -1, 3, 7), true},
  };
  for (const Case& c : cases) {
    Affine2D out(true);  // the caller's prior value must survive a failure
    EXPECT_EQ(c.matrix.Invert(out), c.inverts) << c.what;
    if (!c.inverts) {
      ExpectPointNear(out.Apply(Vec2d(2.0, 3.0)), Vec2d(2.0, 3.0));
      continue;
    }
    for (const Vec2d p : {Vec2d(0, 0), Vec2d(2, 3), Vec2d(-7, 11)}) {
      const Vec2d back = out.Apply(c.matrix.Apply(p));
      EXPECT_NEAR(back.x, p.x, 1e-6) << c.what;
      EXPECT_NEAR(back.y, p.y, 1e-6) << c.what;
    }
  }
}

// A caller that needs inverses of nearly flat matrices lowers the floor.
TEST(Affine2DTest, InversionWithALowerFloor) {
  const Affine2D nearlyFlat = Matrix(5e-7, 0, 3, 0, 1, 4);
  Affine2D out(true);
  ASSERT_TRUE(nearlyFlat.Invert(out, 1e-12));
  const Vec2d back = out.Apply(nearlyFlat.Apply(Vec2d(2, 3)));
  EXPECT_NEAR(back.x, 2.0, 1e-6);
  EXPECT_NEAR(back.y, 3.0, 1e-6);
  EXPECT_TRUE(Matrix(1e-12, 0, 3, 0, 1, 4).Invert(out, 1e-12)) << "the floor itself inverts";
  Affine2D untouched(true);
  EXPECT_FALSE(Matrix(9.9e-13, 0, 3, 0, 1, 4).Invert(untouched, 1e-12));
  ExpectPointNear(untouched.Apply(Vec2d(2.0, 3.0)), Vec2d(2.0, 3.0));
}

TEST(Affine2DTest, InverseEntries) {
  Affine2D out(false);
  ASSERT_TRUE(Matrix(2, 1, 5, -1, 3, 7).Invert(out));
  // det = 7; inverse of [2 1 5; -1 3 7] worked out by hand.
  const double r = 1.0 / 7.0;
  EXPECT_NEAR(out.a, 3 * r, kTolerance);
  EXPECT_NEAR(out.b, -1 * r, kTolerance);
  EXPECT_NEAR(out.tx, (7 * 1 - 5 * 3) * r, kTolerance);
  EXPECT_NEAR(out.c, 1 * r, kTolerance);
  EXPECT_NEAR(out.d, 2 * r, kTolerance);
  EXPECT_NEAR(out.ty, (5 * -1 - 7 * 2) * r, kTolerance);
}

TEST(Affine2DTest, MultiplyAppliesTheRightOperandFirst) {
  const Affine2D a = Matrix(0, -1, 10, 1, 0, 20);  // quarter turn, then move
  const Affine2D b = Matrix(2, 0, 1, 0, 3, -1);    // scale, then move
  Affine2D product = a;
  product.Multiply(b);
  for (const Vec2d p : {Vec2d(0, 0), Vec2d(1, 2), Vec2d(-3.5, 4.25)}) {
    ExpectPointNear(product.Apply(p), a.Apply(b.Apply(p)));
  }
}

// Independent reference: p - anchor, scaled per axis, rotated (+x towards +y), + position.
Vec2d ComposeReference(const Vec2d& anchor, const Vec2d& position, const Vec2d& scale, double degrees, const Vec2d& p) {
  const double theta = degrees * 0.017453292519943;
  const double sx = (p.x - anchor.x) * scale.x;
  const double sy = (p.y - anchor.y) * scale.y;
  return Vec2d(std::cos(theta) * sx - std::sin(theta) * sy + position.x,
               std::sin(theta) * sx + std::cos(theta) * sy + position.y);
}

TEST(Affine2DTest, ComposeMovesScalesRotatesAndPlaces) {
  struct Case {
    const char* what;
    Vec2d anchor, position, scale;
    double degrees;
  };
  const Case cases[] = {
      {"quarter turn", {0, 0}, {0, 0}, {1, 1}, 90},
      {"scale per axis", {1, 1}, {0, 0}, {2, 3}, 0},
      {"negative angle", {4, 4}, {1, 1}, {1, 1}, -60},
      {"everything", {5, 6}, {-2, 7}, {0.5, 4}, 30},
  };
  for (const Case& c : cases) {
    Affine2D m = Matrix(9, 9, 9, 9, 9, 9);  // nothing of this may survive
    m.Compose(c.anchor, c.position, c.scale, c.degrees);
    for (const Vec2d p : {Vec2d(0, 0), Vec2d(1, 0), Vec2d(9, -1)}) {
      const Vec2d expected = ComposeReference(c.anchor, c.position, c.scale, c.degrees, p);
      const Vec2d actual = m.Apply(p);
      EXPECT_NEAR(actual.x, expected.x, kTolerance * 100) << c.what;
      EXPECT_NEAR(actual.y, expected.y, kTolerance * 100) << c.what;
    }
  }
}

TEST(Affine2DTest, ComposeWithAnchorAtPositionIsIdentity) {
  Affine2D m(false);
  m.Compose(Vec2d(10, 20), Vec2d(10, 20), Vec2d(1, 1), 0);
  const double expected[6] = {1, 0, 0, 0, 1, 0};
  const double actual[6] = {m.a, m.b, m.tx, m.c, m.d, m.ty};
  for (int i = 0; i < 6; ++i) {
    EXPECT_DOUBLE_EQ(actual[i], expected[i]) << i;
  }
}

TEST(Affine2DTest, ComposeTurnsXTowardsY) {
  Affine2D m(true);
  m.Compose(Vec2d(0, 0), Vec2d(0, 0), Vec2d(1, 1), 90);
  ExpectPointNear(m.Apply(Vec2d(1, 0)), Vec2d(0, 1));
}

TEST(Affine2DTest, ComposeWithZeroScaleIsSingular) {
  for (const Vec2d scale : {Vec2d(0, 1), Vec2d(1, 0)}) {
    Affine2D m(true);
    m.Compose(Vec2d(3, 4), Vec2d(1, 2), scale, 45);
    Affine2D out(true);
    EXPECT_FALSE(m.Invert(out));
  }
}

TEST(Affine2DTest, ComposeUsesTheFixedDegreeFactor) {
  Affine2D m(true);
  m.Compose(Vec2d(0, 0), Vec2d(0, 0), Vec2d(1, 1), 180);
  // 180 x 0.017453292519943 falls short of pi by about 3.2e-13.
  EXPECT_NEAR(m.c, std::sin(180 * 0.017453292519943), 1e-18);
  EXPECT_GT(m.c, 0.0);
}

}  // namespace
}  // namespace Orvane::Lumisk
