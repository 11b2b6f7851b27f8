#include "bench/RenderStageTimer.h"

#include <algorithm>
#include <cstring>

#include <glbinding/gl33core/gl.h>

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

bool Is(const char* name, const char* wanted) {
  return std::strcmp(name, wanted) == 0;
}

}  // namespace

RenderStageTimer::RenderStageTimer(TestHost::GlCallRecorder& recorder) : callRecorder(recorder) {
  callRecorder.SetHooks([this](const char* name) { Before(name); }, [this](const char* name) { After(name); });
}

RenderStageTimer::~RenderStageTimer() {
  callRecorder.SetHooks(nullptr, nullptr);
}

void RenderStageTimer::Begin(bool generatedMap) {
  generatedMapTexture = generatedMap;
  spans.clear();
  clockTimes = StageTimes{};
  gpuTimes = StageTimes{};
  peakMemory = 0;
  measuring = true;
}

void RenderStageTimer::Before(const char* name) {
  if (!measuring) return;
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
  started = std::chrono::steady_clock::now();
  spans.push_back({kind, Timestamp(), 0, 0.0});
}

void RenderStageTimer::After(const char* name) {
  if (!measuring || spans.empty() || spans.back().end != 0) return;
  const bool ends = Is(name, "glTexSubImage2D") || Is(name, "glDrawArrays") || Is(name, "glCopyTexImage2D") ||
                    Is(name, "glReadPixels");
  if (!ends) return;
  spans.back().end = Timestamp();
  gl::glFinish();
  spans.back().clockMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  if (Is(name, "glDrawArrays")) peakMemory = std::max(peakMemory, MeasureGlMemory().Total());
  // The read-back is the render's last GL work, and the results must be read
  // in the context that made the queries.
  if (Is(name, "glReadPixels")) Resolve();
}

void RenderStageTimer::Resolve() {
  measuring = false;
  std::vector<const Span*> draws;
  for (const Span& span : spans)
    if (span.kind == Kind::Draw) draws.push_back(&span);
  // Draws from the end: the copy, the gather, the map when generated; the rest are prefix sums.
  const auto fromEnd = [&](size_t k) { return draws.size() >= k ? draws.size() - k : draws.size(); };
  const size_t copyIndex = fromEnd(1);
  const size_t gatherIndex = fromEnd(2);
  const size_t mapIndex = generatedMapTexture ? fromEnd(3) : draws.size();
  for (const Span& span : spans) {
    double* clock = nullptr;
    double* gpu = nullptr;
    switch (span.kind) {
      case Kind::Upload:
        clock = &clockTimes.upload, gpu = &gpuTimes.upload;
        break;
      case Kind::Resolve:
        clock = &clockTimes.copy, gpu = &gpuTimes.copy;
        break;
      case Kind::ReadBack:
        clock = &clockTimes.readBack, gpu = &gpuTimes.readBack;
        break;
      case Kind::Draw: {
        const size_t index = size_t(std::find(draws.begin(), draws.end(), &span) - draws.begin());
        if (index == copyIndex)
          clock = &clockTimes.copy, gpu = &gpuTimes.copy;
        else if (index == gatherIndex)
          clock = &clockTimes.gather, gpu = &gpuTimes.gather;
        else if (index == mapIndex)
          clock = &clockTimes.map, gpu = &gpuTimes.map;
        else
          clock = &clockTimes.prefix, gpu = &gpuTimes.prefix;
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
