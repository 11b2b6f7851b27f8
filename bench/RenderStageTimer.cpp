#include "bench/RenderStageTimer.h"

#include <glbinding/gl33core/gl.h>

#include <algorithm>
#include <cstring>

namespace Orvane::Lumisk::Bench {
namespace {

gl::GLuint Timestamp() {
  gl::GLuint query = 0;
  gl::glGenQueries(1, &query);
  gl::glQueryCounter(query, gl::GL_TIMESTAMP);
  return query;
}

double ElapsedMs(gl::GLuint begin, gl::GLuint end) {
  gl::GLuint64 t0 = 0, t1 = 0;
  gl::glGetQueryObjectui64v(begin, gl::GL_QUERY_RESULT, &t0);
  gl::glGetQueryObjectui64v(end, gl::GL_QUERY_RESULT, &t1);
  return t1 > t0 ? double(t1 - t0) * 1e-6 : 0.0;
}

bool Is(const char* name, const char* wanted) { return std::strcmp(name, wanted) == 0; }

}  // namespace

RenderStageTimer::RenderStageTimer(TestHost::GlCallRecorder& recorder) : recorder_(recorder) {
  recorder_.SetHooks([this](const char* name) { Before(name); }, [this](const char* name) { After(name); });
}

RenderStageTimer::~RenderStageTimer() { recorder_.SetHooks(nullptr, nullptr); }

void RenderStageTimer::Begin(bool generatedMap) {
  generatedMap_ = generatedMap;
  spans_.clear();
  clockTimes_ = StageTimes{};
  gpuTimes_ = StageTimes{};
  peakMemory_ = 0;
  measuring_ = true;
}

void RenderStageTimer::Before(const char* name) {
  if (!measuring_) return;
  Kind kind;
  if (Is(name, "glTexSubImage2D"))
    kind = Kind::Upload;
  else if (Is(name, "glDrawArrays"))
    kind = Kind::Draw;
  else if (Is(name, "glCopyTexImage2D"))
    kind = Kind::Resolve;
  else if (Is(name, "glReadPixels"))
    kind = Kind::ReadBack;
  else
    return;
  gl::glFinish();
  started_ = std::chrono::steady_clock::now();
  spans_.push_back({kind, Timestamp(), 0, 0.0});
}

void RenderStageTimer::After(const char* name) {
  if (!measuring_ || spans_.empty() || spans_.back().end != 0) return;
  const bool ends = Is(name, "glTexSubImage2D") || Is(name, "glDrawArrays") || Is(name, "glCopyTexImage2D") ||
                    Is(name, "glReadPixels");
  if (!ends) return;
  spans_.back().end = Timestamp();
  gl::glFinish();
  spans_.back().clockMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started_).count();
  if (Is(name, "glDrawArrays")) peakMemory_ = std::max(peakMemory_, MeasureGlMemory().Total());
  // The read-back is the render's last GL work, and the results must be read
  // in the context that made the queries.
  if (Is(name, "glReadPixels")) Resolve();
}

void RenderStageTimer::Resolve() {
  measuring_ = false;
  std::vector<const Span*> draws;
  for (const Span& span : spans_)
    if (span.kind == Kind::Draw) draws.push_back(&span);
  // Draws from the end: the copy, the gather, the map when generated; the rest are prefix sums.
  const auto fromEnd = [&](size_t k) { return draws.size() >= k ? draws.size() - k : draws.size(); };
  const size_t copyIndex = fromEnd(1);
  const size_t gatherIndex = fromEnd(2);
  const size_t mapIndex = generatedMap_ ? fromEnd(3) : draws.size();
  for (const Span& span : spans_) {
    double* clock = nullptr;
    double* gpu = nullptr;
    switch (span.kind) {
      case Kind::Upload:
        clock = &clockTimes_.upload, gpu = &gpuTimes_.upload;
        break;
      case Kind::Resolve:
        clock = &clockTimes_.copy, gpu = &gpuTimes_.copy;
        break;
      case Kind::ReadBack:
        clock = &clockTimes_.readBack, gpu = &gpuTimes_.readBack;
        break;
      case Kind::Draw: {
        const size_t index = size_t(std::find(draws.begin(), draws.end(), &span) - draws.begin());
        if (index == copyIndex)
          clock = &clockTimes_.copy, gpu = &gpuTimes_.copy;
        else if (index == gatherIndex)
          clock = &clockTimes_.gather, gpu = &gpuTimes_.gather;
        else if (index == mapIndex)
          clock = &clockTimes_.map, gpu = &gpuTimes_.map;
        else
          clock = &clockTimes_.prefix, gpu = &gpuTimes_.prefix;
        break;
      }
    }
    *clock += span.clockMs;
    *gpu += ElapsedMs(span.begin, span.end);
    gl::glDeleteQueries(1, &span.begin);
    gl::glDeleteQueries(1, &span.end);
  }
}

}  // namespace Orvane::Lumisk::Bench
