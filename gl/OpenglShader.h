#pragma once

#include <cstdint>
#include <map>
#include <string>

#include <glbinding/gl/types.h>

#include "gl/Affine2D.h"
#include "gl/ScopedProgram.h"
#include "gl/Vec2d.h"

namespace Orvane::Lumisk {

// One GLSL program built from source text. Construction makes no GL call; the
// first Use compiles and links (and every later Use tries again while linking
// fails). Attribute bindings are recorded by name and applied at link.
// Setters look the uniform up by name on every call, are silent while the
// program is not linked and skip a uniform the program lacks. They act on the
// program in use: call Use first.
class OpenglShader {
public:
  OpenglShader(const std::string& vertexSource, const std::string& fragmentSource);
  // With a geometry stage (empty: none).
  OpenglShader(const std::string& vertexSource, const std::string& fragmentSource, const std::string& geometrySource);
  virtual ~OpenglShader();

  OpenglShader(const OpenglShader&) = delete;
  OpenglShader& operator=(const OpenglShader&) = delete;

  // Records a binding for the next link; the first location recorded for a
  // name stays.
  void AddAttribute(const std::string& name, gl::GLuint location);

  // Links when not linked yet, then glUseProgram (program 0 when linking failed).
  void Use();

  // Prints "Shader <stage> error:" and the shader's compile log.
  static void ReportShaderError(gl::GLuint shader, const char* stageLabel);

  void SetAttribute3f(gl::GLuint index, std::intptr_t offset, std::int32_t stride);
  void SetAttribute2f(gl::GLuint index, std::intptr_t offset, std::int32_t stride);
  void DisableAttribute(gl::GLuint index);

  void SetUniform1f(const char* name, float value);
  void SetUniform1i(const char* name, std::int32_t value);
  void SetUniformVec2(const char* name, const Vec2d& value);
  void SetUniform2f(const char* name, float x, float y);
  // Uploads count matrices as mat3 (column-major); nothing when count <= 0.
  void SetUniformAffineArray(const char* name, const Affine2D* matrices, std::int32_t count);
  // Binds texture on unit (also when the program lacks the sampler), then
  // points the sampler at the unit.
  void SetTexture(const char* name, gl::GLenum target, gl::GLuint texture, std::int32_t unit);

  // The linked program, 0 while not linked.
  gl::GLuint Program() const { return program.Get(); }

private:
  void Link();
  // Float attribute pointer into the bound buffer; nothing while unlinked.
  void SetAttribute(gl::GLuint index, gl::GLint components, std::intptr_t offset, std::int32_t stride);
  // Location of a uniform of the linked program, -1 when unlinked or absent.
  gl::GLint UniformLocation(const char* name) const;

  std::string vertexSource;
  std::string fragmentSource;
  std::string geometrySource;
  ScopedProgram program;
  std::map<std::string, gl::GLuint> attributes;
};

}  // namespace Orvane::Lumisk
