#include "render/FullscreenProgram.h"

#include "gl/FullscreenQuad.h"
#include "gl/OpenglShader.h"
#include "render/shaders/FullscreenVertexSource.h"

namespace Orvane::Lumisk {

std::unique_ptr<OpenglShader> MakeFullscreenProgram(const std::string& fragmentSource) {
  auto program = std::make_unique<OpenglShader>(FullscreenVertexSource, fragmentSource);
  FullscreenQuad::AddAttributes(*program);
  return program;
}

}  // namespace Orvane::Lumisk
