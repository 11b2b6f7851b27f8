#include "tests/support/GlTestContext.h"

#include <glbinding/gl33core/gl.h>

using namespace gl33core;

namespace Orvane::Lumisk::Testing {
TEST_F(GlContextTest, ClearsAndReadsBack) {
    ScopedFloatTarget target(4, 4);
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const std::vector<float> pixels = target.Read();
    EXPECT_FLOAT_EQ(pixels[0], 0.25f);
}
}
