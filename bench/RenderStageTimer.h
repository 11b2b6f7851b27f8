// Time of each stage of the module's render command, measured from the
// outside through the test host's GL call recorder, in the module's own
// context. Each call that does a stage's work (the uploads, glTexSubImage2D;
// the draws in their fixed order: prefix-sum passes, the generated map when
// there is one, the gather, the copy; the resolve, glCopyTexImage2D, counted
// with the copy; the read-back, glReadPixels) is bracketed by glFinish, and
// timed on the clock between the two: work queued before it is finished
// first, so a software rasteriser that runs a scene late cannot charge it to
// the wrong stage. GL_TIMESTAMP queries inside the same brackets give a second
// figure, the GPU's own. The finishes slow a render down: the render's own
// time is measured in renders without this timer. The memory that the render
// holds is measured at each draw.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include <glbinding/gl/types.h>

#include "bench/GlMemory.h"
#include "instruments/GlCallRecorder.h"

namespace Orvane::Lumisk::Bench {

struct StageTimes {
  double upload = 0, prefix = 0, map = 0, gather = 0, copy = 0, readBack = 0;
  double Total() const { return upload + prefix + map + gather + copy + readBack; }
  void Add(const StageTimes& t) {
    upload += t.upload, prefix += t.prefix, map += t.map, gather += t.gather, copy += t.copy, readBack += t.readBack;
  }
};

class RenderStageTimer {
public:
  explicit RenderStageTimer(TestHost::GlCallRecorder& recorder);
  ~RenderStageTimer();
  RenderStageTimer(const RenderStageTimer&) = delete;
  RenderStageTimer& operator=(const RenderStageTimer&) = delete;

  // Starts one render; `generatedMap` tells whether it draws a blur map.
  void Begin(bool generatedMap);
  // The stages of the render since Begin, on the clock and from the GPU's
  // timestamps, in milliseconds (valid once the command returned).
  const StageTimes& ClockTimes() const { return clockTimes; }
  const StageTimes& GpuTimes() const { return gpuTimes; }
  // The largest GL memory seen at a draw of that render.
  std::uint64_t PeakMemoryBytes() const { return peakMemory; }

private:
  enum class Kind { Upload, Draw, Resolve, ReadBack };
  struct Span {
    Kind kind;
    gl::GLuint begin, end;
    double clockMs;
  };
  void Before(const char* name);
  void After(const char* name);
  void Resolve();

  TestHost::GlCallRecorder& callRecorder;
  std::vector<Span> spans;
  bool generatedMapTexture = false;
  bool measuring = false;
  StageTimes clockTimes;
  StageTimes gpuTimes;
  std::chrono::steady_clock::time_point started;
  std::uint64_t peakMemory = 0;
};

}  // namespace Orvane::Lumisk::Bench
