// The compiled resource file: the PiPL byte for byte, the manifest, and the
// agreement of the PiPL's version and flags with what global set-up reports.
#include <string>

#include <gtest/gtest.h>

#include "ExpectedPipl.h"
#include "ResourceFile.h"
#include "instruments/TestHost.h"
#ifdef LUMISK_RESOURCE_MODULE
#include "tests/windows/ModuleResources.h"
#endif

namespace {

using namespace Orvane::Lumisk::Testing;

#ifdef LUMISK_RESOURCE_MODULE
// The Windows build reads the same resources back from the built DLL.
std::vector<ResourceEntry> Resources() {
  return ReadModuleResources(LUMISK_RESOURCE_MODULE);
}
#else
std::vector<ResourceEntry> Resources() {
  return ReadResourceFile(LUMISK_RESOURCE_FILE);
}
#endif

// Walks the PiPL as the host reads it: each record's data is followed by the
// next record at the length rounded up to 4.
std::vector<PiplProperty> ParsePipl(const std::vector<uint8_t>& bytes) {
  auto u32 = [&](std::size_t at) {
    return uint32_t(bytes.at(at)) | uint32_t(bytes.at(at + 1)) << 8 | uint32_t(bytes.at(at + 2)) << 16 |
           uint32_t(bytes.at(at + 3)) << 24;
  };
  std::vector<PiplProperty> out;
  const uint32_t count = u32(6);
  std::size_t at = 10;
  for (uint32_t i = 0; i < count; ++i) {
    PiplProperty property;
    property.key = {char(bytes.at(at + 7)), char(bytes.at(at + 6)), char(bytes.at(at + 5)), char(bytes.at(at + 4))};
    const uint32_t length = u32(at + 12);
    property.data.assign(bytes.begin() + long(at + 16), bytes.begin() + long(at + 16 + length));
    out.push_back(property);
    at += 16 + ((length + 3) & ~3u);
  }
  EXPECT_EQ(at, bytes.size()) << "bytes after the last property";
  return out;
}

uint32_t Word(const std::vector<uint8_t>& data) {
  return uint32_t(data.at(0)) | uint32_t(data.at(1)) << 8 | uint32_t(data.at(2)) << 16 | uint32_t(data.at(3)) << 24;
}

TEST(PiplResource, MatchesTheTableByteForByte) {
  const auto resources = Resources();
  const ResourceEntry* pipl = FindResource(resources, "PIPL", kPiplResourceId, kResourceLanguage);
  ASSERT_NE(pipl, nullptr) << "no PIPL 16000 in language 1033";
  ASSERT_EQ(pipl->data.size(), 278u);
  EXPECT_EQ(pipl->data, ExpectedPiplBytes());
}

TEST(PiplResource, PropertiesComeInOrderWithTheirValues) {
  const auto resources = Resources();
  const ResourceEntry* pipl = FindResource(resources, "PIPL", kPiplResourceId, kResourceLanguage);
  ASSERT_NE(pipl, nullptr);
  const auto expected = ExpectedPiplProperties();
  const auto actual = ParsePipl(pipl->data);
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(actual[i].key, expected[i].key) << "property " << i + 1;
    EXPECT_EQ(actual[i].data, expected[i].data) << "property " << expected[i].key;
  }
}

TEST(PiplResource, VersionAndFlagsEqualWhatGlobalSetupReports) {
  const auto resources = Resources();
  const ResourceEntry* pipl = FindResource(resources, "PIPL", kPiplResourceId, kResourceLanguage);
  ASSERT_NE(pipl, nullptr);
  uint32_t version = 0, flags = 0, flags2 = 0;
  for (const PiplProperty& property : ParsePipl(pipl->data)) {
    if (property.key == "eVER") version = Word(property.data);
    if (property.key == "eGLO") flags = Word(property.data);
    if (property.key == "eGL2") flags2 = Word(property.data);
  }
  Orvane::Lumisk::TestHost::Host host;
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  EXPECT_EQ(host.OutData().my_version, version);
  EXPECT_EQ(uint32_t(host.OutData().out_flags), flags);
  EXPECT_EQ(uint32_t(host.OutData().out_flags2), flags2);
  host.GlobalSetdown();
}

TEST(ManifestResource, AsksForAsInvokerWithoutUiAccess) {
  const auto resources = Resources();
  const ResourceEntry* manifest =
      FindResource(resources, kManifestResourceType, kManifestResourceId, kResourceLanguage);
  ASSERT_NE(manifest, nullptr) << "no manifest (type 24, id 2, language 1033)";
  const std::string text(manifest->data.begin(), manifest->data.end());
  EXPECT_NE(text.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos) << text;
  EXPECT_EQ(resources.size(), 2u) << "only the PiPL and the manifest";
}

}  // namespace
