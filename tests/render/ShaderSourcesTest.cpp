// The GLSL texts: their fixed line ends and that each program builds on the
// driver with the inputs the renderer sets.
#include <string>
#include <vector>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "gl/OpenglShader.h"
#include "render/BlurMapPass.h"
#include "render/FullscreenProgram.h"
#include "render/shaders/BlurMapFragmentSources.h"
#include "render/shaders/BokehFragmentSources.h"
#include "render/shaders/FullscreenVertexSource.h"
#include "render/shaders/PrefixSumSources.h"
#include "tests/support/GlTestContext.h"

namespace Orvane::Lumisk {
namespace {

using namespace gl;

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

TEST(ShaderSources, BlurMapPiecesKeepTheirLineEnds) {
  const std::string head = BlurMapFragmentHead;
  const std::string tail = BlurMapFragmentTail;
  EXPECT_TRUE(StartsWith(head, "#version 330\r\n"));
  EXPECT_TRUE(EndsWith(head, "float result =\r\n\r\n"));
  // Every LF of the head is preceded by CR.
  for (size_t i = 0; i < head.size(); ++i) {
    if (head[i] == '\n') {
      ASSERT_TRUE(i > 0 && head[i - 1] == '\r') << "at " << i;
    }
  }
  EXPECT_TRUE(StartsWith(tail, "((transform * vec3(texCoords, 1.0)).xy);\n"));
  EXPECT_EQ(tail.find('\r'), std::string::npos);
  EXPECT_NE(tail.back(), '\n');
  EXPECT_EQ(tail.back(), '}');
}

TEST(ShaderSources, GeneratorNamesByMapType) {
  const struct {
    int type;
    const char* name;
  } cases[] = {{1, "linearGradient2"}, {2, "linearGradient3"}, {3, "circleColor"}, {4, "squareColor"}};
  for (const auto& c : cases) {
    ASSERT_NE(FindBlurMapGenerator(c.type), nullptr);
    EXPECT_STREQ(FindBlurMapGenerator(c.type), c.name);
    const std::string source = BlurMapPass::FragmentSource(c.type);
    EXPECT_NE(source.find(std::string("float result =\r\n\r\n") + c.name + "((transform"), std::string::npos);
  }
  EXPECT_EQ(FindBlurMapGenerator(0), nullptr);
  EXPECT_EQ(FindBlurMapGenerator(5), nullptr);
}

TEST(ShaderSources, EverySourceStartsWithTheVersionLine) {
  for (const char* source : {FullscreenVertexSource, PrefixPrepareFragmentSource, PrefixScanFragmentSource,
                             BokehCircularFragmentSource, BokehHexagonFragmentSource, BokehPentagonFragmentSource})
    EXPECT_TRUE(StartsWith(source, "#version 330\n"));
}

class ShaderBuildTest : public Testing::GlContextTest {};

// Each program links, and the uniforms the renderer sets are active in it
// (a name the program lacks would be skipped in silence).
TEST_F(ShaderBuildTest, ProgramsLinkWithTheirUniforms) {
  const std::vector<std::string> gather = {"t0",          "t1",         "blurMap",       "jfMapSize",   "focalDistance",
                                           "invertValue", "blurAmount", "enableBlurMap", "showBlurMap", "JDStep"};
  struct Case {
    const char* label;
    std::string fragment;
    std::vector<std::string> uniforms;
    bool readsUv = true;  // the prefix programs work from gl_FragCoord
  };
  std::vector<Case> cases = {
      {"circular", BokehCircularFragmentSource, gather},
      {"hexagon", BokehHexagonFragmentSource, gather},
      {"pentagon", BokehPentagonFragmentSource, gather},
      {"prepare", PrefixPrepareFragmentSource, {"t0", "jfstep"}, false},
      {"scan", PrefixScanFragmentSource, {"t0", "level", "maxLevel"}, false},
      {"two bands",
       BlurMapPass::FragmentSource(1),
       {"texSize", "transform", "feather", "scale", "linearPoint1", "linearPoint2"}},
      {"three bands",
       BlurMapPass::FragmentSource(2),
       {"texSize", "transform", "feather", "scale", "linearPoint1", "linearPoint2"}},
      {"circle",
       BlurMapPass::FragmentSource(3),
       {"texSize", "transform", "feather", "scale", "linearPoint1", "linearPoint2"}},
      {"square",
       BlurMapPass::FragmentSource(4),
       {"texSize", "transform", "feather", "scale", "linearPoint1", "linearPoint2"}},
  };
  for (const Case& c : cases) {
    auto program = MakeFullscreenProgram(c.fragment);
    program->Use();
    ASSERT_NE(program->Program(), 0u) << c.label;
    EXPECT_EQ(glGetAttribLocation(program->Program(), "position"), 0) << c.label;
    if (c.readsUv) {
      EXPECT_EQ(glGetAttribLocation(program->Program(), "input_uv"), 1) << c.label;
    }
    for (const std::string& name : c.uniforms)
      EXPECT_NE(glGetUniformLocation(program->Program(), name.c_str()), -1) << c.label << " " << name;
    glUseProgram(0);
  }
}

}  // namespace
}  // namespace Orvane::Lumisk
