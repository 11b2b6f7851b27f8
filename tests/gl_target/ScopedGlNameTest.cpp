// The one-name owners: a name is deleted once, by whoever holds it last.
#include <gtest/gtest.h>

#include <utility>

#include "gl/ScopedRenderbuffer.h"
#include "gl/ScopedTexture.h"
#include "tests/support/GlTestContext.h"

using namespace gl;

namespace Orvane::Lumisk::Testing {
namespace {

class ScopedGlNameTest : public GlContextTest {};

// glIs* answers true only for a name bound once.
GLuint BoundTexture() {
  const GLuint name = TextureName::Generate();
  glBindTexture(GL_TEXTURE_2D, name);
  glBindTexture(GL_TEXTURE_2D, 0);
  return name;
}

bool IsTexture(GLuint name) {
  return glIsTexture(name) == GL_TRUE;
}

TEST_F(ScopedGlNameTest, MovesHandOverAndResetDeletesTheOldName) {
  const GLuint first = BoundTexture();
  const GLuint second = BoundTexture();
  {
    ScopedTexture owner(first);
    ScopedTexture moved(std::move(owner));
    EXPECT_EQ(owner.Get(), 0u);
    EXPECT_EQ(moved.Get(), first);

    ScopedTexture other(second);
    other = std::move(moved);  // `second` goes, `first` changes owner
    EXPECT_FALSE(IsTexture(second));
    EXPECT_TRUE(IsTexture(first));
    EXPECT_EQ(moved.Get(), 0u);

    other.Reset(first);  // its own name again: kept
    EXPECT_TRUE(IsTexture(first));
    other.Reset();
    EXPECT_FALSE(IsTexture(first));
    EXPECT_EQ(other.Get(), 0u);
  }
  const GLuint kept = BoundTexture();
  {
    ScopedTexture owner(kept);
    EXPECT_EQ(owner.Release(), kept);
  }
  EXPECT_TRUE(IsTexture(kept)) << "released: the caller deletes it";
  glDeleteTextures(1, &kept);
}

TEST_F(ScopedGlNameTest, ARenderbufferGoesWithItsOwner) {
  GLuint name = 0;
  {
    ScopedRenderbuffer owner = ScopedRenderbuffer::Generate();
    name = owner.Get();
    glBindRenderbuffer(GL_RENDERBUFFER, name);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    EXPECT_TRUE(glIsRenderbuffer(name) == GL_TRUE);
  }
  EXPECT_FALSE(glIsRenderbuffer(name) == GL_TRUE);
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
