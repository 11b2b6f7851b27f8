// Owns one GL object name until it is handed on, so that an object made by a
// step that later throws is deleted on the way out. `Kind` says how a name of
// the kind is made and deleted (`Kind::Generate()`, `Kind::Delete(name)`);
// the per-context names take the same kinds (see PerContextObjects.h). The
// kinds owned here (textures, renderbuffers, buffers) are shared between the
// module's contexts, so the deletion may run in whichever one is current.
// Move-only: a name has one owner.
#pragma once

#include <glbinding/gl/types.h>

namespace Orvane::Lumisk {

template <typename Kind>
class ScopedGlName {
public:
  // Owns nothing.
  ScopedGlName() = default;
  // Takes over `adopted` (0: owns nothing).
  explicit ScopedGlName(gl::GLuint adopted) : name(adopted) {}
  ~ScopedGlName() { Reset(); }
  ScopedGlName(const ScopedGlName&) = delete;
  ScopedGlName& operator=(const ScopedGlName&) = delete;
  ScopedGlName(ScopedGlName&& other) noexcept : name(other.Release()) {}
  ScopedGlName& operator=(ScopedGlName&& other) noexcept {
    if (this != &other) {
      Reset(other.Release());
    }
    return *this;
  }

  // A new name of the kind, owned.
  static ScopedGlName Generate() { return ScopedGlName(Kind::Generate()); }

  gl::GLuint Get() const { return name; }

  // Deletes the name owned now (unless it is `adopted` itself) and takes over
  // `adopted` (0: owns nothing).
  void Reset(gl::GLuint adopted = 0) {
    if (name != 0 && name != adopted) {
      Kind::Delete(name);
    }
    name = adopted;
  }

  // Gives up ownership: the caller deletes the name from now on. Only where
  // an interface hands a raw name on.
  gl::GLuint Release() {
    const gl::GLuint released = name;
    name = 0;
    return released;
  }

private:
  gl::GLuint name = 0;
};

}  // namespace Orvane::Lumisk
