#include "gl/CopyPass.h"

#include <glbinding/gl/gl.h>

#include "gl/CopyPassSources.h"
#include "gl/FullscreenQuad.h"

using namespace gl;

namespace Orvane::Lumisk {

CopyPass::CopyPass(bool bgarSwizzle)
    : shader(CopyVertexSource, bgarSwizzle ? CopyBgarFragmentSource : CopyArgbFragmentSource) {
  FullscreenQuad::AddAttributes(shader);
}

void CopyPass::Draw(GLuint texture, float multiplier) {
  shader.Use();
  quad.Bind();
  FullscreenQuad::EnableAttributes(shader);
  shader.SetTexture("videoTexture", GL_TEXTURE_2D, texture, 0);
  shader.SetUniform1f("multiplier16bit", multiplier);
  FullscreenQuad::Draw();
  FullscreenQuad::DisableAttributes(shader);
  FullscreenQuad::Unbind();
}

}  // namespace Orvane::Lumisk
