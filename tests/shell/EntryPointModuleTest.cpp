// The built module, loaded as the host loads it: dispatch, about, set-up.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "testhost/Host.h"

namespace {

using Orvane::Lumisk::TestHost::Host;

TEST(EntryPointModule, AboutWritesNameAndVersion) {
  Host host;
  ASSERT_EQ(host.About(), PF_Err_NONE);
  EXPECT_STREQ(host.OutData().return_msg, "ZQ Lumisk v1.1\rZQ Lumisk");
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
}

TEST(EntryPointModule, GlobalSetupReportsVersionAndFlags) {
  Host host;
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  EXPECT_EQ(host.OutData().my_version, 0x00088001u);
  EXPECT_EQ(host.OutData().out_flags, 0);
  EXPECT_EQ(host.OutData().out_flags2, 8);
  EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE);
}

}  // namespace
