// GPU time of a stretch of GL work, from a GL_TIME_ELAPSED query. Queries of
// this kind cannot nest: time the stages one after another.
#pragma once

#include <glbinding/gl/types.h>

namespace Orvane::Lumisk::Bench {

class GlTimer {
public:
  GlTimer();
  ~GlTimer();
  GlTimer(const GlTimer&) = delete;
  GlTimer& operator=(const GlTimer&) = delete;

  void Begin();
  void End();
  // Waits for the result; milliseconds between Begin and End on the GPU.
  double Milliseconds();

private:
  gl::GLuint query_ = 0;
};

}  // namespace Orvane::Lumisk::Bench
