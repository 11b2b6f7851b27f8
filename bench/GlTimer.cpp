#include "bench/GlTimer.h"

#include <glbinding/gl33core/gl.h>

namespace Orvane::Lumisk::Bench {

GlTimer::GlTimer() { gl::glGenQueries(1, &query_); }

GlTimer::~GlTimer() { gl::glDeleteQueries(1, &query_); }

void GlTimer::Begin() { gl::glBeginQuery(gl::GL_TIME_ELAPSED, query_); }

void GlTimer::End() { gl::glEndQuery(gl::GL_TIME_ELAPSED); }

double GlTimer::Milliseconds() {
  gl::GLuint64 nanoseconds = 0;
  gl::glGetQueryObjectui64v(query_, gl::GL_QUERY_RESULT, &nanoseconds);
  return double(nanoseconds) * 1e-6;
}

}  // namespace Orvane::Lumisk::Bench
