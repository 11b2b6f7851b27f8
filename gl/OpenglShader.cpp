#include "gl/OpenglShader.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <glbinding/gl33core/gl.h>

#include "gl/LogPrintf.h"

using namespace gl33core;

namespace Orvane::Lumisk {

namespace {

constexpr GLsizei kInfoLogSize = 512;

// Compiles one stage; false (after printing its log) when it does not compile.
bool CompileStage(GLuint shader, const std::string& source, const char* stageLabel) {
  const GLchar* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint status = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
  if (status != static_cast<GLint>(GL_TRUE)) {
    OpenglShader::ReportShaderError(shader, stageLabel);
    return false;
  }
  return true;
}

// The shaders of one link attempt; deleted whatever the outcome, and always
// detached from the program first when one was made.
struct LinkStages {
  ScopedShader vertex;
  ScopedShader fragment;
  ScopedShader geometry;

  void DetachFrom(GLuint program) const {
    glDetachShader(program, vertex.Get());
    glDetachShader(program, fragment.Get());
    if (geometry.Get() != 0) {
      glDetachShader(program, geometry.Get());
    }
  }
  // In the order of the stages.
  ~LinkStages() {
    vertex.Reset();
    fragment.Reset();
    geometry.Reset();
  }
};

}  // namespace

OpenglShader::OpenglShader(const std::string& vertex, const std::string& fragment)
    : vertexSource(vertex), fragmentSource(fragment) {}

OpenglShader::OpenglShader(const std::string& vertex, const std::string& fragment, const std::string& geometry)
    : vertexSource(vertex), fragmentSource(fragment), geometrySource(geometry) {}

OpenglShader::~OpenglShader() = default;

void OpenglShader::AddAttribute(const std::string& name, GLuint location) {
  attributes.emplace(name, location);  // keeps the first location of a name
}

void OpenglShader::Use() {
  if (program.Get() == 0) {
    Link();
  }
  glUseProgram(program.Get());
}

void OpenglShader::Link() {
  LinkStages stages;
  stages.vertex.Reset(glCreateShader(GL_VERTEX_SHADER));
  stages.fragment.Reset(glCreateShader(GL_FRAGMENT_SHADER));
  if (!geometrySource.empty()) {
    stages.geometry.Reset(glCreateShader(GL_GEOMETRY_SHADER));
  }
  if (!CompileStage(stages.vertex.Get(), vertexSource, "vert") ||
      !CompileStage(stages.fragment.Get(), fragmentSource, "frag") ||
      (stages.geometry.Get() != 0 && !CompileStage(stages.geometry.Get(), geometrySource, "geo"))) {
    return;
  }
  // Deleted on the way out unless it links (before the stages go).
  ScopedProgram owned = ScopedProgram::Generate();
  const GLuint made = owned.Get();
  glAttachShader(made, stages.vertex.Get());
  glAttachShader(made, stages.fragment.Get());
  if (stages.geometry.Get() != 0) {
    glAttachShader(made, stages.geometry.Get());
  }
  for (const auto& [name, location] : attributes) {  // ascending by name
    glBindAttribLocation(made, location, name.c_str());
  }
  glLinkProgram(made);
  GLint status = 0;
  glGetProgramiv(made, GL_LINK_STATUS, &status);
  stages.DetachFrom(made);
  if (status == static_cast<GLint>(GL_TRUE)) {
    program = std::move(owned);
    return;
  }
  char log[kInfoLogSize + 1];
  GLsizei length = 0;
  glGetProgramInfoLog(made, kInfoLogSize, &length, log);
  log[std::clamp<GLsizei>(length, 0, kInfoLogSize)] = '\0';
  LogPrintf("Program error:\n%s\n", log);
}

void OpenglShader::ReportShaderError(GLuint shader, const char* stageLabel) {
  char log[kInfoLogSize + 1];
  GLsizei length = 0;
  glGetShaderInfoLog(shader, kInfoLogSize, &length, log);
  log[std::clamp<GLsizei>(length, 0, kInfoLogSize)] = '\0';
  LogPrintf("Shader %s error:\n%s\n", stageLabel, log);
}

void OpenglShader::SetAttribute3f(GLuint index, std::intptr_t offset, std::int32_t stride) {
  SetAttribute(index, 3, offset, stride);
}

void OpenglShader::SetAttribute2f(GLuint index, std::intptr_t offset, std::int32_t stride) {
  SetAttribute(index, 2, offset, stride);
}

void OpenglShader::SetAttribute(GLuint index, GLint components, std::intptr_t offset, std::int32_t stride) {
  if (program.Get() == 0) {
    return;
  }
  glEnableVertexAttribArray(index);
  glVertexAttribPointer(index, components, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offset));
}

void OpenglShader::DisableAttribute(GLuint index) {
  if (program.Get() != 0) {
    glDisableVertexAttribArray(index);
  }
}

GLint OpenglShader::UniformLocation(const char* name) const {
  return program.Get() == 0 ? -1 : glGetUniformLocation(program.Get(), name);
}

void OpenglShader::SetUniform1f(const char* name, float value) {
  const GLint location = UniformLocation(name);
  if (location != -1) {
    glUniform1f(location, value);
  }
}

void OpenglShader::SetUniform1i(const char* name, std::int32_t value) {
  const GLint location = UniformLocation(name);
  if (location != -1) {
    glUniform1i(location, value);
  }
}

void OpenglShader::SetUniformVec2(const char* name, const Vec2d& value) {
  SetUniform2f(name, static_cast<float>(value.x), static_cast<float>(value.y));
}

void OpenglShader::SetUniform2f(const char* name, float x, float y) {
  const GLint location = UniformLocation(name);
  if (location != -1) {
    glUniform2f(location, x, y);
  }
}

void OpenglShader::SetUniformAffineArray(const char* name, const Affine2D* matrices, std::int32_t count) {
  if (count <= 0 || matrices == nullptr) {
    return;
  }
  const GLint location = UniformLocation(name);
  if (location == -1) {
    return;
  }
  // Column-major mat3 of the rows [a b tx], [c d ty], [0 0 1].
  std::vector<float> data(static_cast<std::size_t>(count) * 9);
  for (std::int32_t i = 0; i < count; ++i) {
    const Affine2D& m = matrices[i];
    float* column = &data[static_cast<std::size_t>(i) * 9];
    const double values[9] = {m.a, m.c, 0.0, m.b, m.d, 0.0, m.tx, m.ty, 1.0};
    for (int k = 0; k < 9; ++k) {
      column[k] = static_cast<float>(values[k]);
    }
  }
  glUniformMatrix3fv(location, count, GL_FALSE, data.data());
}

void OpenglShader::SetTexture(const char* name, GLenum target, GLuint texture, std::int32_t unit) {
  if (program.Get() == 0) {
    return;
  }
  glActiveTexture(GL_TEXTURE0 + static_cast<unsigned int>(unit));
  glBindTexture(target, texture);
  const GLint location = glGetUniformLocation(program.Get(), name);
  if (location != -1) {
    glUniform1i(location, unit);
  }
}

}  // namespace Orvane::Lumisk
