// The one-name owners: a name is deleted once, by whoever holds it last.
#include <map>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

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

// A kind that counts the deletes of each name, so a name deleted twice (which
// glIs* cannot tell from once) shows.
struct CountedName {
  static std::map<GLuint, int>& Deletes() {
    static std::map<GLuint, int> deletes;
    return deletes;
  }
  static GLuint Generate() { return 0; }
  static void Delete(GLuint name) { ++Deletes()[name]; }
};

using CountedOwner = ScopedGlName<CountedName>;

// Every way a name changes hands, each ending with the name deleted exactly
// once (or, released, never).
TEST(ScopedGlNameKind, EveryNameIsDeletedExactlyOnce) {
  struct Case {
    const char* what;
    void (*handOver)(GLuint name);
    int deletes;
  };
  const Case cases[] = {
      {"owner goes out of scope", [](GLuint name) { CountedOwner owner(name); }, 1},
      {"moved into a new owner",
       [](GLuint name) {
         CountedOwner first(name);
         CountedOwner second(std::move(first));
       },
       1},
      {"moved over an empty owner",
       [](GLuint name) {
         CountedOwner first(name);
         CountedOwner second;
         second = std::move(first);
       },
       1},
      {"moved onto itself",
       [](GLuint name) {
         CountedOwner owner(name);
         CountedOwner& same = owner;
         owner = std::move(same);
       },
       1},
      {"reset to its own name",
       [](GLuint name) {
         CountedOwner owner(name);
         owner.Reset(name);
       },
       1},
      {"reset to nothing", [](GLuint name) { CountedOwner(name).Reset(); }, 1},
      {"moved through a container",
       [](GLuint name) {
         std::vector<CountedOwner> owners;
         owners.emplace_back(name);
         for (GLuint other = 1000; other < 1010; ++other) owners.emplace_back(other);  // regrows the storage
       },
       1},
      {"released", [](GLuint name) { static_cast<void>(CountedOwner(name).Release()); }, 0},
  };
  GLuint name = 1;
  for (const Case& c : cases) {
    CountedName::Deletes().clear();
    c.handOver(name);
    EXPECT_EQ(CountedName::Deletes()[name], c.deletes) << c.what;
    ++name;
  }
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
