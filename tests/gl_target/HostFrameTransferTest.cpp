// Upload of host worlds into textures and read-back of the bound framebuffer
// into host worlds, through the test host's real services, against the
// worlds' own pixels.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gl/AESDK_OpenGL_Fault.h"
#include "gl/HostFrameTransfer.h"
#include "tests/gl_target/FramePainter.h"
#include "tests/gl_target/GlQueries.h"
#include "tests/gl_target/PixelPatterns.h"
#include "tests/gl_target/TransferFixture.h"

using namespace gl;

namespace Orvane::Lumisk::Testing {
namespace {

struct DepthCase {
  const char* label;
  PixelDepth depth;
  int32_t code;
  GLenum type;
  uint64_t bytesPerPixel;
  float multiplier;
  double fullScale;  // world value GL normalises to 1.0
  int rowPadding;    // bytes after each row, a multiple of the channel size
};

const DepthCase kDepths[] = {
    {"argb", PixelDepth::k8, kPixelFormatArgb8, GL_UNSIGNED_BYTE, 4, 1.0f, 255.0, 12},
    {"ae16", PixelDepth::k16, kPixelFormatArgb16, GL_UNSIGNED_SHORT, 8, 1.999969482421875f, 65535.0, 24},
    {"ae32", PixelDepth::kFloat, kPixelFormatArgbFloat, GL_FLOAT, 16, 1.0f, 1.0, 32},
};

// Integer channels normalise by one division; float ones are copied.
constexpr double kNormalisedTolerance = 1e-6;

World MakeWorld(PixelDepth depth, int width, int height, int padding) {
  return World(depth, width, height, padding);
}

GLuint Upload(const DepthCase& format, World& world, PF_InData* in_data, bool mipmap = false) {
  uint64_t bytesPerPixel = 0;
  GLenum type = GL_NONE;
  float multiplier = 0.0f;
  const GLuint texture =
      UploadWorldToTexture(format.code, world.Get(), in_data, &bytesPerPixel, &type, &multiplier, mipmap);
  EXPECT_EQ(bytesPerPixel, format.bytesPerPixel);
  EXPECT_EQ(type, format.type);
  EXPECT_EQ(multiplier, format.multiplier);
  return texture;
}

// ---------------------------------------------------------------- upload

// Uploads a patterned world with `padding` bytes after each row and compares
// every texel with the pattern: a stride read wrongly shears the rows.
void ExpectUploadWithoutShear(const DepthCase& format, int padding, PF_InData* in_data) {
  constexpr int kWidth = 9;
  constexpr int kHeight = 5;
  World world = MakeWorld(format.depth, kWidth, kHeight, padding);
  FillPattern(world);
  const std::vector<uint8_t> before(world.Row(0), world.Row(0) + world.RowBytes() * kHeight);

  const GLuint texture = Upload(format, world, in_data);

  EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), 0);
  EXPECT_EQ(GetInteger(GL_UNPACK_ROW_LENGTH), 0);
  EXPECT_EQ(TextureLevelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), AsInt(GL_RGBA32F));
  EXPECT_EQ(TextureLevelParameter(texture, GL_TEXTURE_WIDTH), kWidth);
  EXPECT_EQ(TextureLevelParameter(texture, GL_TEXTURE_HEIGHT), kHeight);
  const std::vector<float> texels = ReadTextureFloat(texture);
  std::vector<float> expected;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      for (int c = 0; c < 4; ++c) {
        expected.push_back(static_cast<float>(PatternChannel(format.depth, x, y, c) / format.fullScale));
      }
    }
  }
  ExpectPixelsNear(expected, texels, kWidth, static_cast<float>(kNormalisedTolerance));
  // The host's image is read, never written.
  EXPECT_EQ(std::memcmp(before.data(), world.Row(0), before.size()), 0);
  glDeleteTextures(1, &texture);
}

TEST_F(TransferTest, UploadHoldsTheHostChannelsInOrderWithoutShear) {
  for (const DepthCase& format : kDepths) {
    SCOPED_TRACE(format.label);
    ExpectUploadWithoutShear(format, format.rowPadding, InData());
  }
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
  EXPECT_TRUE(TakeGlErrors().empty());
}

// A host may pad rows by any number of bytes, not only whole pixels: such a
// stride is no GL row length, and the rows must still land unsheared.
TEST_F(TransferTest, RowsPaddedByPartOfAPixelUploadWithoutShear) {
  struct PaddingCase {
    const DepthCase& format;
    int padding;
  };
  const PaddingCase cases[] = {
      {kDepths[0], 1}, {kDepths[0], 2}, {kDepths[0], 3},  {kDepths[0], 5}, {kDepths[0], 6}, {kDepths[0], 7},
      {kDepths[1], 2}, {kDepths[1], 6}, {kDepths[1], 10}, {kDepths[2], 4}, {kDepths[2], 8}, {kDepths[2], 12},
  };
  for (const PaddingCase& c : cases) {
    SCOPED_TRACE(std::string(c.format.label) + " padded by " + std::to_string(c.padding));
    ExpectUploadWithoutShear(c.format, c.padding, InData());
  }
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
  EXPECT_TRUE(TakeGlErrors().empty());
}

TEST_F(TransferTest, UploadFiltersLinearlyAndClampsToEdge) {
  for (const bool mipmap : {false, true}) {
    World world = World::Make8(3, 2);
    const GLuint texture = Upload(kDepths[0], world, InData(), mipmap);
    EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MAG_FILTER), AsInt(GL_LINEAR));
    EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MIN_FILTER), AsInt(mipmap ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR));
    EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_WRAP_S), AsInt(GL_CLAMP_TO_EDGE));
    EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_WRAP_T), AsInt(GL_CLAMP_TO_EDGE));
    glDeleteTextures(1, &texture);
  }
}

TEST_F(TransferTest, AnEmptyWorldUploadsAsAnEmptyTextureWithoutTouchingThePixels) {
  host.Faults().nullPixelData = true;  // an empty world has no pixels to ask for
  for (const DepthCase& format : kDepths) {
    SCOPED_TRACE(format.label);
    World world(format.depth, 0, 0, 0);
    const GLuint texture = Upload(format, world, InData());
    EXPECT_EQ(TextureLevelParameter(texture, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(GetInteger(GL_UNPACK_ROW_LENGTH), 0);
    glDeleteTextures(1, &texture);
  }
  EXPECT_EQ(host.Records().iterateCalls, 0);
  EXPECT_TRUE(TakeGlErrors().empty());
}

// A world the GL cannot hold as one texture is refused before a texture is
// made; at the limit itself it uploads.
TEST_F(TransferTest, AWorldBeyondTheGlTextureLimitThrowsAndLeavesNoTexture) {
  const int limit = GetInteger(GL_MAX_TEXTURE_SIZE);
  const struct {
    int width, height;
    bool fits;
  } cases[] = {{limit + 1, 1, false}, {1, limit + 1, false}, {limit, 1, true}};
  for (const auto& size : cases) {
    SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
    World world = MakeWorld(PixelDepth::k8, size.width, size.height, 0);
    if (size.fits) {
      GLuint texture = Upload(kDepths[0], world, InData());
      EXPECT_EQ(TextureLevelParameter(texture, GL_TEXTURE_WIDTH), size.width);
      glDeleteTextures(1, &texture);
    } else {
      EXPECT_THROW(Upload(kDepths[0], world, InData()), AESDK_OpenGL_Fault);
    }
    EXPECT_FALSE(AnyTextureExists());
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_TRUE(TakeGlErrors().empty());
  }
}

TEST_F(TransferTest, StagingTheInputCopiesItToTheOutputPixel) {
  // A host may hand a separate output pixel even when source and destination
  // are one world; whatever the callback leaves there becomes the world's pixel.
  World world = World::MakeFloat(4, 3);
  FillPattern(world);
  PixelStaging staging{nullptr, world.Get()};
  std::vector<float> buffer(4 * 3 * 4, -1.0f);
  staging.buffer = buffer.data();
  PF_PixelFloat in{0.25f, 0.5f, 0.75f, 1.5f};
  PF_PixelFloat out{9.0f, 9.0f, 9.0f, 9.0f};
  ASSERT_EQ(CopyPixelToStaging(&staging, 3, 2, &in, &out), PF_Err_NONE);
  EXPECT_EQ(std::memcmp(&out, &in, sizeof in), 0);
  EXPECT_EQ(std::vector<float>(buffer.begin() + 44, buffer.end()), (std::vector<float>{0.25f, 0.5f, 0.75f, 1.5f}));
}

TEST_F(TransferTest, StagingCallbacksStayInsideTheStagingWorld) {
  World world = World::MakeFloat(2, 2);
  std::vector<float> buffer(2 * 2 * 4, 0.5f);
  PixelStaging staging{buffer.data(), world.Get()};
  const std::vector<float> untouched = buffer;
  PF_PixelFloat pixel{1.0f, 2.0f, 3.0f, 4.0f};
  const int outside[][2] = {{-1, 0}, {0, -1}, {2, 0}, {0, 2}};
  for (const auto& xy : outside) {
    SCOPED_TRACE(testing::Message() << xy[0] << ", " << xy[1]);
    EXPECT_EQ(CopyPixelToStaging(&staging, xy[0], xy[1], &pixel, &pixel), PF_Err_NONE);
    EXPECT_EQ(buffer, untouched);
    PF_PixelFloat out{7.0f, 7.0f, 7.0f, 7.0f};
    EXPECT_EQ(CopyPixelFromStaging(&staging, xy[0], xy[1], &pixel, &out), PF_Err_NONE);
    EXPECT_EQ(out.alpha + out.red + out.green + out.blue, 0.0f);
  }
  EXPECT_EQ(CopyPixelToStaging(&staging, 0, 0, nullptr, &pixel), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(CopyPixelFromStaging(&staging, 0, 0, &pixel, nullptr), PF_Err_BAD_CALLBACK_PARAM);
}

struct UploadFaultCase {
  const char* label;
  int32_t code;
  PixelDepth depth;
  std::function<void(TestHost::Host&, World&)> fault;
  int expected;
};

TEST_F(TransferTest, UploadFaultsThrowTheHostCodeAndLeaveNoTexture) {
  const UploadFaultCase cases[] = {
      {"unknown format", 0x61626364, PixelDepth::k8, [](TestHost::Host&, World&) {}, PF_Err_BAD_CALLBACK_PARAM},
      {"no 8-bit pixels", kPixelFormatArgb8, PixelDepth::k8,
       [](TestHost::Host& h, World&) { h.Faults().nullPixelData = true; }, PF_Err_BAD_CALLBACK_PARAM},
      {"no 16-bit pixels", kPixelFormatArgb16, PixelDepth::k16,
       [](TestHost::Host& h, World&) { h.Faults().nullPixelData = true; }, PF_Err_BAD_CALLBACK_PARAM},
      {"rows shorter than the width", kPixelFormatArgb8, PixelDepth::k8,
       [](TestHost::Host&, World& w) { w.Get()->rowbytes = w.Width() * 4 - 4; }, PF_Err_BAD_CALLBACK_PARAM},
      {"negative height", kPixelFormatArgb8, PixelDepth::k8, [](TestHost::Host&, World& w) { w.Get()->height = -1; },
       PF_Err_BAD_CALLBACK_PARAM},
      {"no float iterator", kPixelFormatArgbFloat, PixelDepth::kFloat,
       [](TestHost::Host& h, World&) { h.Faults().missingSuites.insert(kPFIterateFloatSuite); }, A_Err_MISSING_SUITE},
      {"iterator fails", kPixelFormatArgbFloat, PixelDepth::kFloat,
       [](TestHost::Host& h, World&) { h.Faults().iterateError = 27; }, 27},
  };
  for (const UploadFaultCase& fault : cases) {
    SCOPED_TRACE(fault.label);
    host.Faults() = TestHost::HostFaults{};
    World world(fault.depth, 4, 3, 0);
    fault.fault(host, world);
    uint64_t bytesPerPixel = 0;
    GLenum type = GL_NONE;
    float multiplier = 0.0f;
    EXPECT_EQ(ThrownCode([&] {
                UploadWorldToTexture(fault.code, world.Get(), InData(), &bytesPerPixel, &type, &multiplier, false);
              }),
              fault.expected);
    EXPECT_EQ(multiplier,
              fault.depth == PixelDepth::k16 && fault.code == kPixelFormatArgb16 ? 1.999969482421875f : 1.0f);
    EXPECT_FALSE(AnyTextureExists());
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(GetInteger(GL_UNPACK_ROW_LENGTH), 0);
    EXPECT_EQ(host.Records().OutstandingSuites(), 0);
  }
}

TEST_F(TransferTest, UploadRefusesNullArguments) {
  World world = World::Make8(2, 2);
  uint64_t bytesPerPixel = 0;
  GLenum type = GL_NONE;
  float multiplier = 0.0f;
  const int code = kPixelFormatArgb8;
  EXPECT_EQ(
      ThrownCode([&] { UploadWorldToTexture(code, nullptr, InData(), &bytesPerPixel, &type, &multiplier, false); }),
      PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(
      ThrownCode([&] { UploadWorldToTexture(code, world.Get(), nullptr, &bytesPerPixel, &type, &multiplier, false); }),
      PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(ThrownCode([&] { UploadWorldToTexture(code, world.Get(), InData(), nullptr, &type, &multiplier, false); }),
            PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(ThrownCode([&] {
              UploadWorldToTexture(code, world.Get(), InData(), &bytesPerPixel, nullptr, &multiplier, false);
            }),
            PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(
      ThrownCode([&] { UploadWorldToTexture(code, world.Get(), InData(), &bytesPerPixel, &type, nullptr, false); }),
      PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_FALSE(AnyTextureExists());
}

// ---------------------------------------------------------------- read-back

// A float framebuffer of `width` x `height` holding the pattern of `depth`
// normalised, bound for reading: what the render target's output holds.
class ReadBackTest : public TransferTest {
protected:
  void BindSource(const DepthCase& format, int width, int height) {
    std::vector<float> rgba;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 4; ++c) {
          rgba.push_back(static_cast<float>(PatternChannel(format.depth, x, y, c) / format.fullScale));
        }
      }
    }
    source = std::make_unique<ScopedFloatTarget>(width, height);
    PaintInto(source->Framebuffer(), width, height, rgba);
  }

  void ReadBack(const DepthCase& format, uint32_t width, uint32_t height, World* sourceWorld, World& destination) {
    ReadBackToWorld(width, height, sourceWorld != nullptr ? sourceWorld->Get() : nullptr, destination.Get(), InData(),
                    format.code, format.bytesPerPixel, format.type);
  }

  void ExpectHostBalanced() {
    EXPECT_EQ(host.LiveHandles(), 0);
    EXPECT_EQ(host.Records().badHandleCalls, 0);
    EXPECT_EQ(host.Records().OutstandingSuites(), 0);
  }

  std::unique_ptr<ScopedFloatTarget> source;
};

struct DestinationCase {
  const char* label;
  int width, height;
};

// The area read is 6 x 4; destinations of other sizes get the overlap and are
// cleared elsewhere.
TEST_F(ReadBackTest, IntegerDestinationsGetTheOverlapAndAreClearedElsewhere) {
  constexpr int kWidth = 6;
  constexpr int kHeight = 4;
  const DestinationCase destinations[] = {
      {"same size", 6, 4}, {"larger", 9, 7}, {"smaller", 3, 2}, {"wider, shorter", 8, 3}, {"narrower, taller", 2, 6},
  };
  for (const DepthCase& format : {kDepths[0], kDepths[1]}) {
    BindSource(format, kWidth, kHeight);
    for (const DestinationCase& size : destinations) {
      SCOPED_TRACE(testing::Message() << format.label << ", " << size.label);
      World destination(format.depth, size.width, size.height, format.rowPadding);
      FillBytes(destination, 0x77);
      ReadBack(format, kWidth, kHeight, nullptr, destination);
      ExpectWorld(
          destination,
          [&](int x, int y, int c) { return x < kWidth && y < kHeight ? PatternChannel(format.depth, x, y, c) : 0.0; },
          0.0);
      EXPECT_TRUE(destination.PaddingUntouched());
      EXPECT_EQ(host.Records().handleSizes.back(), kWidth * kHeight * format.bytesPerPixel);
    }
    ExpectHostBalanced();
  }
}

TEST_F(ReadBackTest, FloatReadBackGoesThroughTheHostIterator) {
  const DepthCase& format = kDepths[2];
  BindSource(format, 5, 3);
  World sourceWorld = World::MakeFloat(5, 3);
  World destination = World::MakeFloat(5, 3, format.rowPadding);
  FillBytes(destination, 0x77);
  ReadBack(format, 5, 3, &sourceWorld, destination);
  ExpectWorld(
      destination, [&](int x, int y, int c) { return PatternChannel(format.depth, x, y, c); }, 0.0);
  EXPECT_TRUE(destination.PaddingUntouched());
  EXPECT_EQ(host.Records().iterateCalls, 1);
  ExpectHostBalanced();
}

TEST_F(ReadBackTest, AnEmptyAreaAsksForAnEmptyHandleAndClearsTheDestination) {
  const DepthCase& format = kDepths[0];
  BindSource(format, 4, 4);
  World destination = World::Make8(3, 2);
  FillBytes(destination, 0x77);
  ReadBack(format, 0, 4, nullptr, destination);
  EXPECT_EQ(host.Records().handleSizes.back(), 0u);
  ExpectWorld(
      destination, [](int, int, int) { return 0.0; }, 0.0);

  host.Faults().nullNewHandle = true;
  EXPECT_EQ(ThrownCode([&] { ReadBack(format, 4, 0, nullptr, destination); }), PF_Err_OUT_OF_MEMORY);
  EXPECT_EQ(host.Records().handleSizes.back(), 0u);
  ExpectHostBalanced();
}

struct ReadBackFaultCase {
  const char* label;
  const DepthCase& format;
  std::function<void(TestHost::Host&)> fault;
  int32_t code;
  uint64_t bytesPerPixel;
  GLenum type;
  bool nullDestination;
  int expected;
};

TEST_F(ReadBackTest, FaultsThrowTheHostCodeAndReleaseTheHandle) {
  const auto noFault = [](TestHost::Host&) {};
  const DepthCase& argb = kDepths[0];
  const DepthCase& ae32 = kDepths[2];
  const ReadBackFaultCase cases[] = {
      {"no handle suite", argb, [](TestHost::Host& h) { h.Faults().missingSuites.insert(kPFHandleSuite); }, argb.code,
       4, GL_UNSIGNED_BYTE, false, A_Err_MISSING_SUITE},
      {"no handle", argb, [](TestHost::Host& h) { h.Faults().nullNewHandle = true; }, argb.code, 4, GL_UNSIGNED_BYTE,
       false, PF_Err_OUT_OF_MEMORY},
      {"unknown format", argb, noFault, 0x61626364, 4, GL_UNSIGNED_BYTE, false, PF_Err_BAD_CALLBACK_PARAM},
      {"pixel size unlike the format", argb, noFault, argb.code, 16, GL_UNSIGNED_BYTE, false,
       PF_Err_BAD_CALLBACK_PARAM},
      {"pixel type unlike the format", argb, noFault, argb.code, 4, GL_FLOAT, false, PF_Err_BAD_CALLBACK_PARAM},
      {"no destination", argb, noFault, argb.code, 4, GL_UNSIGNED_BYTE, true, PF_Err_BAD_CALLBACK_PARAM},
      {"no destination pixels", argb, [](TestHost::Host& h) { h.Faults().nullPixelData = true; }, argb.code, 4,
       GL_UNSIGNED_BYTE, false, PF_Err_BAD_CALLBACK_PARAM},
      {"no float iterator", ae32, [](TestHost::Host& h) { h.Faults().missingSuites.insert(kPFIterateFloatSuite); },
       ae32.code, 16, GL_FLOAT, false, A_Err_MISSING_SUITE},
      {"iterator fails", ae32, [](TestHost::Host& h) { h.Faults().iterateError = 31; }, ae32.code, 16, GL_FLOAT, false,
       31},
  };
  for (const ReadBackFaultCase& fault : cases) {
    SCOPED_TRACE(fault.label);
    host.Faults() = TestHost::HostFaults{};
    BindSource(fault.format, 4, 3);
    World sourceWorld(fault.format.depth, 4, 3, 0);
    World destination(fault.format.depth, 4, 3, 0);
    fault.fault(host);
    EXPECT_EQ(ThrownCode([&] {
                ReadBackToWorld(4, 3, sourceWorld.Get(), fault.nullDestination ? nullptr : destination.Get(), InData(),
                                fault.code, fault.bytesPerPixel, fault.type);
              }),
              fault.expected);
    ExpectHostBalanced();
  }
}

TEST_F(ReadBackTest, FloatReadBackRefusesASourceOfAnotherSize) {
  const DepthCase& format = kDepths[2];
  BindSource(format, 4, 3);
  World sourceWorld = World::MakeFloat(5, 3);
  World destination = World::MakeFloat(5, 3);
  EXPECT_EQ(ThrownCode([&] { ReadBack(format, 4, 3, &sourceWorld, destination); }), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(ThrownCode([&] { ReadBack(format, 4, 3, nullptr, destination); }), PF_Err_BAD_CALLBACK_PARAM);
  ExpectHostBalanced();
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
