// GPU time of each stage of the module's render command, measured from the
// outside: GL_TIMESTAMP queries placed just before and after the calls that
// do each stage's work, in the module's own context, through the test host's
// GL call recorder. The stages are told apart by the road of a render: the
// uploads (glTexSubImage2D), the draws in their fixed order (prefix-sum
// passes, the generated map when there is one, the gather, the copy), the
// resolve (glCopyTexImage2D, counted with the copy) and the read-back
// (glReadPixels). The memory that the render holds is measured at each draw.
#pragma once

#include <glbinding/gl/types.h>

#include <cstdint>
#include <vector>

#include "bench/GlMemory.h"
#include "testhost/GlCallRecorder.h"

namespace Orvane::Lumisk::Bench {

struct StageTimes {
  double upload = 0, prefix = 0, map = 0, gather = 0, copy = 0, readBack = 0;
  double Total() const { return upload + prefix + map + gather + copy + readBack; }
};

class RenderStageTimer {
public:
  explicit RenderStageTimer(TestHost::GlCallRecorder& recorder);
  ~RenderStageTimer();
  RenderStageTimer(const RenderStageTimer&) = delete;
  RenderStageTimer& operator=(const RenderStageTimer&) = delete;

  // Starts one render; `generatedMap` tells whether it draws a blur map.
  void Begin(bool generatedMap);
  // The stages of the render since Begin (valid once the command returned).
  const StageTimes& Times() const { return times_; }
  // The largest GL memory seen at a draw of that render.
  std::uint64_t PeakMemoryBytes() const { return peakMemory_; }

private:
  enum class Kind { Upload, Draw, Resolve, ReadBack };
  struct Span {
    Kind kind;
    gl::GLuint begin, end;
  };
  void Before(const char* name);
  void After(const char* name);
  void Resolve();

  TestHost::GlCallRecorder& recorder_;
  std::vector<Span> spans_;
  bool generatedMap_ = false;
  bool measuring_ = false;
  StageTimes times_;
  std::uint64_t peakMemory_ = 0;
};

}  // namespace Orvane::Lumisk::Bench
