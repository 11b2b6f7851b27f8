// OpenglShader on a real 3.3 core context: lazy link, attribute bindings,
// uniform and sampler setters, diagnostics and the mended failure paths.

#include <array>
#include <string>

#include <glbinding/gl33core/gl.h>

#include "gl/OpenglShader.h"
#include "instruments/GlCallRecorder.h"
#include "tests/support/GlTestContext.h"

using namespace gl33core;

namespace Orvane::Lumisk::Testing {
namespace {

using TestHost::GlCallRecorder;

const char* const kVertexSource = R"(#version 330 core
in vec3 position;
in vec2 input_uv;
out vec2 uv;
void main() {
    uv = input_uv;
    gl_Position = vec4(position, 1.0);
}
)";

const char* const kFragmentSource = R"(#version 330 core
in vec2 uv;
uniform sampler2D source;
uniform float gain;
uniform vec2 offset;
uniform mat3 transforms[2];
uniform int pick;
uniform float unused;
out vec4 colourOut;
void main() {
    vec2 p = (transforms[pick] * vec3(uv, 1.0)).xy;
    colourOut = vec4(texture(source, p).rgb * gain + vec3(offset, 0.0), 1.0);
}
)";

const char* const kBrokenFragmentSource = "#version 330 core\nvoid main() { oops }\n";

// Two triangles over clip space, x y z u v, uv (0,0) at clip (-1,-1).
const std::array<float, 30> kQuad = {
    -1, -1, 0, 0, 0, 1, -1, 0, 1, 0, 1, 1, 0, 1, 1, -1, -1, 0, 0, 0, 1, 1, 0, 1, 1, -1, 1, 0, 0, 1,
};

// True when no shader or program name of the (fresh) share group exists.
bool NoShaderOrProgramLeft() {
  for (GLuint name = 1; name < 64; ++name) {
    if (glIsShader(name) == GL_TRUE || glIsProgram(name) == GL_TRUE) {
      return false;
    }
  }
  return true;
}

class OpenglShaderTest : public GlContextTest {};

TEST_F(OpenglShaderTest, DrawsWithBindingsAndUniformsLikeTheCpuReference) {
  constexpr int kSize = 16;
  std::vector<float> texels(kSize * kSize * 4);
  for (int i = 0; i < kSize * kSize; ++i) {
    texels[i * 4 + 0] = static_cast<float>(i % kSize) / kSize;
    texels[i * 4 + 1] = static_cast<float>(i / kSize) / kSize;
    texels[i * 4 + 2] = static_cast<float>((i * 7) % 13) / 13.0f;
    texels[i * 4 + 3] = 1.0f;
  }
  const GLuint texture = MakeFloatTexture(kSize, kSize, texels);
  ScopedFloatTarget target(kSize, kSize);

  OpenglShader shader(kVertexSource, kFragmentSource);
  shader.AddAttribute("position", 3);
  shader.AddAttribute("position", 0);  // dropped: the first location stays
  shader.AddAttribute("input_uv", 5);

  GLuint vertexArray = 0;
  GLuint buffer = 0;
  glGenVertexArrays(1, &vertexArray);
  glBindVertexArray(vertexArray);
  glGenBuffers(1, &buffer);
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof(kQuad), kQuad.data(), GL_STATIC_DRAW);

  shader.Use();
  ASSERT_NE(shader.Program(), 0u);
  EXPECT_EQ(glGetAttribLocation(shader.Program(), "position"), 3);
  EXPECT_EQ(glGetAttribLocation(shader.Program(), "input_uv"), 5);
  shader.SetAttribute3f(3, 0, 5 * sizeof(float));
  shader.SetAttribute2f(5, 3 * sizeof(float), 5 * sizeof(float));

  Affine2D transforms[2] = {Affine2D(true), Affine2D(true)};
  transforms[1].a = -1.0;  // mirror u: texel centres land on texel centres
  transforms[1].tx = 1.0;
  shader.SetTexture("source", GL_TEXTURE_2D, texture, 2);
  shader.SetUniform1f("gain", 0.5f);
  shader.SetUniformVec2("offset", Vec2d(0.25, 0.125));
  shader.SetUniformAffineArray("transforms", transforms, 2);
  shader.SetUniform1i("pick", 1);
  glDrawArrays(GL_TRIANGLES, 0, 6);
  shader.DisableAttribute(3);
  shader.DisableAttribute(5);

  const std::vector<float> pixels = target.Read();
  // Float target, exact texel fetches: only float rounding of gain and offset.
  constexpr float kTolerance = 1e-6f;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const float* texel = &texels[(y * kSize + (kSize - 1 - x)) * 4];
      const float expected[4] = {texel[0] * 0.5f + 0.25f, texel[1] * 0.5f + 0.125f, texel[2] * 0.5f, 1.0f};
      for (int k = 0; k < 4; ++k) {
        ASSERT_NEAR(pixels[(y * kSize + x) * 4 + k], expected[k], kTolerance) << x << "," << y << " channel " << k;
      }
    }
  }
  glDeleteBuffers(1, &buffer);
  glDeleteVertexArrays(1, &vertexArray);
  glDeleteTextures(1, &texture);
}

TEST_F(OpenglShaderTest, SettersBeforeTheFirstUseMakeNoCall) {
  OpenglShader shader(kVertexSource, kFragmentSource);
  const Affine2D matrix(true);
  GlCallRecorder recorder;
  shader.SetAttribute3f(0, 0, 20);
  shader.SetAttribute2f(1, 12, 20);
  shader.DisableAttribute(0);
  shader.SetUniform1f("gain", 1.0f);
  shader.SetUniform1i("pick", 0);
  shader.SetUniformVec2("offset", Vec2d(1, 2));
  shader.SetUniform2f("offset", 1.0f, 2.0f);
  shader.SetUniformAffineArray("transforms", &matrix, 1);
  shader.SetTexture("source", GL_TEXTURE_2D, 0, 0);
  EXPECT_TRUE(recorder.Calls().empty());
  EXPECT_EQ(shader.Program(), 0u);
}

TEST_F(OpenglShaderTest, BindsAttributesInNameOrderBeforeLinking) {
  OpenglShader shader(kVertexSource, kFragmentSource);
  shader.AddAttribute("position", 0);
  shader.AddAttribute("input_uv", 1);
  GlCallRecorder recorder(GlCallRecorder::kWithParameters);
  shader.Use();
  std::vector<std::string> order;
  for (const TestHost::GlCall& call : recorder.Calls()) {
    if (call.name == "glBindAttribLocation" || call.name == "glLinkProgram") {
      order.push_back(call.name + (call.parameters.size() > 1 ? " " + call.parameters[1] : ""));
    }
  }
  const std::vector<std::string> expected = {"glBindAttribLocation 1", "glBindAttribLocation 0", "glLinkProgram"};
  EXPECT_EQ(order, expected);
}

TEST_F(OpenglShaderTest, UniformsTheProgramLacksGetNoCall) {
  OpenglShader shader(kVertexSource, kFragmentSource);
  shader.Use();
  GlCallRecorder recorder;
  shader.SetUniform1f("unused", 1.0f);  // declared but never read: not active
  shader.SetUniform1i("absent", 1);
  shader.SetUniform2f("absent", 1.0f, 2.0f);
  shader.SetUniformVec2("absent", Vec2d(1, 2));
  shader.SetUniformAffineArray("absent", nullptr, 0);
  const std::vector<std::string> lookups(4, "glGetUniformLocation");
  EXPECT_EQ(recorder.Names(), lookups);
}

TEST_F(OpenglShaderTest, SetTextureBindsTheUnitEvenWithoutTheSampler) {
  OpenglShader shader(kVertexSource, kFragmentSource);
  shader.Use();
  const GLuint texture = MakeFloatTexture(2, 2, std::vector<float>(16, 0.5f));
  GlCallRecorder recorder;
  shader.SetTexture("noSuchSampler", GL_TEXTURE_2D, texture, 3);
  EXPECT_EQ(recorder.Count("glUniform1i"), 0);
  GLint active = 0;
  GLint bound = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(active, static_cast<GLint>(GL_TEXTURE3));
  EXPECT_EQ(static_cast<GLuint>(bound), texture);
  glDeleteTextures(1, &texture);
}

TEST_F(OpenglShaderTest, AffineArraySendsColumnMajorMatricesInOneCall) {
  OpenglShader shader(kVertexSource, kFragmentSource);
  shader.Use();
  Affine2D matrices[2] = {Affine2D(false), Affine2D(false)};
  const double values[2][6] = {{1, 2, 3, 4, 5, 6}, {-1, 0.5, 7, 8, -9, 10}};
  for (int i = 0; i < 2; ++i) {
    matrices[i].a = values[i][0];
    matrices[i].b = values[i][1];
    matrices[i].tx = values[i][2];
    matrices[i].c = values[i][3];
    matrices[i].d = values[i][4];
    matrices[i].ty = values[i][5];
  }
  {
    GlCallRecorder recorder(GlCallRecorder::kWithParameters);
    shader.SetUniformAffineArray("transforms", matrices, 2);
    ASSERT_EQ(recorder.Count("glUniformMatrix3fv"), 1);
    for (const TestHost::GlCall& call : recorder.Calls()) {
      if (call.name == "glUniformMatrix3fv") {
        EXPECT_EQ(call.parameters.at(1), "2");
      }
    }
  }
  for (int i = 0; i < 2; ++i) {
    const std::string name = "transforms[" + std::to_string(i) + "]";
    float sent[9] = {};
    glGetUniformfv(shader.Program(), glGetUniformLocation(shader.Program(), name.c_str()), sent);
    const double* v = values[i];
    const float expected[9] = {float(v[0]), float(v[3]), 0, float(v[1]), float(v[4]), 0, float(v[2]), float(v[5]), 1};
    for (int k = 0; k < 9; ++k) {
      EXPECT_EQ(sent[k], expected[k]) << name << " element " << k;
    }
  }
  for (const std::int32_t count : {0, -1}) {
    GlCallRecorder recorder;
    shader.SetUniformAffineArray("transforms", matrices, count);
    EXPECT_TRUE(recorder.Calls().empty()) << count;
  }
}

TEST_F(OpenglShaderTest, CompileErrorsPrintTheStageAndTryAgainAtTheNextUse) {
  struct Case {
    const char* what;
    std::string vertex, fragment, geometry;
    const char* label;
    int compiles;  // stages compiled in one attempt
  };
  const Case cases[] = {
      {"fragment", kVertexSource, kBrokenFragmentSource, "", "frag", 2},
      {"vertex", "#version 330 core\nvoid main() { oops }\n", kFragmentSource, "", "vert", 1},
      {"geometry", kVertexSource, kFragmentSource, "#version 330 core\nvoid main() { oops }\n", "geo", 3},
  };
  for (const Case& c : cases) {
    OpenglShader shader(c.vertex, c.fragment, c.geometry);
    for (int attempt = 0; attempt < 2; ++attempt) {
      GlCallRecorder recorder;
      testing::internal::CaptureStdout();
      shader.Use();
      const std::string printed = testing::internal::GetCapturedStdout();
      const std::string head = std::string("Shader ") + c.label + " error:\n";
      EXPECT_EQ(printed.rfind(head, 0), 0u) << c.what << ": " << printed;
      EXPECT_GT(printed.size(), head.size() + 1) << c.what << ": the log is missing";
      EXPECT_EQ(printed.back(), '\n');
      EXPECT_EQ(recorder.Count("glCompileShader"), c.compiles) << c.what;
      EXPECT_EQ(recorder.Count("glCreateProgram"), 0) << c.what;
      EXPECT_EQ(shader.Program(), 0u);
      GLint current = -1;
      glGetIntegerv(GL_CURRENT_PROGRAM, &current);
      EXPECT_EQ(current, 0);
      EXPECT_TRUE(NoShaderOrProgramLeft()) << c.what;
    }
  }
}

TEST_F(OpenglShaderTest, LinkErrorPrintsTheLogAndDeletesShadersAndProgram) {
  // Compiles, but a program needs a main in every stage.
  const std::string fragment = "#version 330 core\nout vec4 colourOut;\nvoid helper() {}\n";
  OpenglShader shader(kVertexSource, fragment);
  testing::internal::CaptureStdout();
  shader.Use();
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(printed.rfind("Program error:\n", 0), 0u) << printed;
  EXPECT_EQ(shader.Program(), 0u);
  EXPECT_TRUE(NoShaderOrProgramLeft());
}

TEST_F(OpenglShaderTest, SuccessfulLinkKeepsOnlyTheProgram) {
  {
    OpenglShader shader(kVertexSource, kFragmentSource);
    shader.Use();
    const GLuint program = shader.Program();
    ASSERT_NE(program, 0u);
    GLint attached = -1;
    glGetProgramiv(program, GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 0);
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), program);
    glUseProgram(0);
  }
  EXPECT_TRUE(NoShaderOrProgramLeft());  // the destructor deleted the program
}

TEST_F(OpenglShaderTest, LongCompileLogIsCutTo511Characters) {
  std::string body;
  for (int i = 0; i < 60; ++i) {
    body += "    undeclaredName" + std::to_string(i) + " = 1.0;\n";
  }
  const std::string fragment = "#version 330 core\nvoid main() {\n" + body + "}\n";

  // The whole log, read independently.
  const GLuint probe = glCreateShader(GL_FRAGMENT_SHADER);
  const GLchar* text = fragment.c_str();
  glShaderSource(probe, 1, &text, nullptr);
  glCompileShader(probe);
  GLint fullLength = 0;
  glGetShaderiv(probe, GL_INFO_LOG_LENGTH, &fullLength);
  std::string fullLog(static_cast<std::size_t>(fullLength), '\0');
  glGetShaderInfoLog(probe, fullLength, nullptr, &fullLog[0]);
  glDeleteShader(probe);
  ASSERT_GT(fullLength, 600);

  OpenglShader shader(kVertexSource, fragment);
  testing::internal::CaptureStdout();
  shader.Use();
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(printed, "Shader frag error:\n" + fullLog.substr(0, 511) + "\n");
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
