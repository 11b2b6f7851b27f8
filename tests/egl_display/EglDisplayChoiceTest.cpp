#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/linux/EglDisplayChoice.h"

namespace Orvane::Lumisk::Win32Layer {
namespace {

constexpr EglPlatform kSurfaceless = EglPlatform::Surfaceless;
constexpr EglPlatform kDevice = EglPlatform::Device;
const char* const kLlvmpipe = "llvmpipe (LLVM 15.0.6, 256 bits)";
const char* const kSoftpipe = "softpipe";
const char* const kSwrast = "Mesa swrast";
const char* const kRadeon = "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49, 6.1.0)";
const char* const kNvidia = "NVIDIA GeForce RTX 3060/PCIe/SSE2";
const char* const kIris = "Mesa Intel(R) UHD Graphics 620 (KBL GT2)";

struct ChoiceCase {
  const char* what;
  std::vector<EglCandidate> candidates;
  std::optional<EglPlatform> forced;
  std::optional<std::size_t> chosen;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) {
  *os << c.what;
}

class EglDisplayChoiceTest : public testing::TestWithParam<ChoiceCase> {};

TEST_P(EglDisplayChoiceTest, TakesTheExpectedDisplay) {
  const ChoiceCase& c = GetParam();
  EXPECT_EQ(ChooseEglCandidate(c.candidates, c.forced), c.chosen) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Candidates, EglDisplayChoiceTest,
    testing::Values(
        ChoiceCase{"llvmpipe surfaceless, a GPU device: the GPU",
                   {{kSurfaceless, kLlvmpipe}, {kDevice, kRadeon}},
                   std::nullopt,
                   1},
        ChoiceCase{"softpipe surfaceless, a software device then a GPU device: the GPU",
                   {{kSurfaceless, kSoftpipe}, {kDevice, kLlvmpipe}, {kDevice, kNvidia}},
                   std::nullopt,
                   2},
        ChoiceCase{"swrast surfaceless, two GPU devices: the first GPU",
                   {{kSurfaceless, kSwrast}, {kDevice, kIris}, {kDevice, kNvidia}},
                   std::nullopt,
                   1},
        ChoiceCase{
            "a GPU on surfaceless beats a GPU device", {{kSurfaceless, kIris}, {kDevice, kNvidia}}, std::nullopt, 0},
        ChoiceCase{"software on both: surfaceless, as on this machine",
                   {{kSurfaceless, kLlvmpipe}, {kDevice, kLlvmpipe}},
                   std::nullopt,
                   0},
        ChoiceCase{"no surfaceless (a vendor's EGL): the device", {{kDevice, kNvidia}}, std::nullopt, 0},
        ChoiceCase{"no surfaceless, software device only: that device", {{kDevice, kLlvmpipe}}, std::nullopt, 0},
        ChoiceCase{"surfaceless only", {{kSurfaceless, kLlvmpipe}}, std::nullopt, 0},
        ChoiceCase{"nothing offered", {}, std::nullopt, std::nullopt},
        ChoiceCase{
            "surfaceless forced over a GPU device", {{kSurfaceless, kLlvmpipe}, {kDevice, kRadeon}}, kSurfaceless, 0},
        ChoiceCase{
            "device forced over a GPU on surfaceless", {{kSurfaceless, kIris}, {kDevice, kLlvmpipe}}, kDevice, 1},
        ChoiceCase{"device forced: the GPU device before a software one",
                   {{kSurfaceless, kLlvmpipe}, {kDevice, kLlvmpipe}, {kDevice, kRadeon}},
                   kDevice,
                   2},
        ChoiceCase{"surfaceless forced, none offered", {{kDevice, kNvidia}}, kSurfaceless, std::nullopt},
        ChoiceCase{"device forced, none offered", {{kSurfaceless, kIris}}, kDevice, std::nullopt}));

TEST(EglRendererTest, NamesMesasSoftwareRasterisersAsSoftware) {
  for (const char* renderer : {kLlvmpipe, kSoftpipe, kSwrast}) EXPECT_TRUE(IsSoftwareRenderer(renderer)) << renderer;
  for (const char* renderer : {kRadeon, kNvidia, kIris, ""}) EXPECT_FALSE(IsSoftwareRenderer(renderer)) << renderer;
}

TEST(EglPlatformRequestTest, TakesTheTwoPlatformsAndRefusesAnythingElse) {
  struct Case {
    const char* value;
    bool valid;
    std::optional<EglPlatform> forced;
  };
  const Case cases[] = {{nullptr, true, std::nullopt},       {"", true, std::nullopt},
                        {"surfaceless", true, kSurfaceless}, {"device", true, kDevice},
                        {"gpu", false, std::nullopt},        {"Device", false, std::nullopt},
                        {"device ", false, std::nullopt},    {"surfaceless,device", false, std::nullopt}};
  for (const Case& c : cases) {
    const EglPlatformRequest request = ParseEglPlatformRequest(c.value);
    const std::string shown = c.value ? c.value : "(unset)";
    EXPECT_EQ(request.valid, c.valid) << shown;
    EXPECT_EQ(request.forced, c.forced) << shown;
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::Win32Layer
