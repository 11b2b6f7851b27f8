// The built module, loaded as the host loads it: the commands the effect shell
// answers itself, end to end through the dynamic library.
#include <climits>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "instruments/TestHost.h"

namespace {

using Orvane::Lumisk::TestHost::Host;

TEST(EntryPointModule, AboutWritesNameAndVersion) {
  Host host;
  ASSERT_EQ(host.About(), PF_Err_NONE);
  const char expected[] = "ZQ Lumisk v1.1\rZQ Lumisk";
  EXPECT_EQ(std::memcmp(host.OutData().return_msg, expected, sizeof expected), 0);
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
}

TEST(EntryPointModule, IgnoredCommandsAnswerZeroAndCallNothing) {
  Host host;
  for (const PF_Cmd cmd : {2, 5, 6, 7, 8, 9, 10, 12, 15, 1000, INT32_MAX, -1, INT32_MIN}) {
    EXPECT_EQ(host.Send(cmd), PF_Err_NONE) << "command " << cmd;
  }
  EXPECT_TRUE(host.Records().calls.empty());
}

TEST(EntryPointModule, MissingSuitesAnswer516) {
  struct Row {
    const char* suite;
    PF_Err about;
    PF_Err setup;
  };
  for (const Row& row : {Row{"PF ANSI Suite", PF_Err_BAD_CALLBACK_PARAM, PF_Err_NONE},
                         Row{"PF AE App Suite", PF_Err_NONE, PF_Err_BAD_CALLBACK_PARAM}}) {
    Host host;
    host.Faults().missingSuites.insert(row.suite);
    EXPECT_EQ(host.About(), row.about) << row.suite;
    EXPECT_EQ(host.GlobalSetup(), row.setup) << row.suite;
    EXPECT_EQ(host.OutData().my_version, 0x00088001u) << "version comes before the failing step";
    EXPECT_EQ(host.Records().OutstandingSuites(), 0);
    EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  }
}

// A suite handed out with its one function null answers as a missing suite
// does: 516, the message untouched, the version before the failing step.
TEST(EntryPointModule, ASuiteWithoutItsFunctionAnswers516) {
  struct Row {
    const char* suite;
    const char* function;
    PF_Err about;
    PF_Err setup;
  };
  for (const Row& row : {Row{"PF ANSI Suite", "sprintf", PF_Err_BAD_CALLBACK_PARAM, PF_Err_NONE},
                         Row{"PF AE App Suite", "PF_AppGetLanguage", PF_Err_NONE, PF_Err_BAD_CALLBACK_PARAM}}) {
    Host host;
    host.Faults().nullFunctions.insert({row.suite, row.function});
    EXPECT_EQ(host.About(), row.about) << row.function;
    if (row.about != PF_Err_NONE) {
      EXPECT_EQ(host.OutData().return_msg[0], '\0') << "message untouched";
    }
    EXPECT_EQ(host.GlobalSetup(), row.setup) << row.function;
    EXPECT_EQ(host.OutData().my_version, 0x00088001u);
    EXPECT_EQ(host.Records().OutstandingSuites(), 0);
    EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  }
}

TEST(EntryPointModule, SetupSetdownCyclesAndASecondSetdown) {
  Host host;
  for (const char* tag : {"zh_CN", "en_US"}) {
    host.SetLanguageTag(tag);
    EXPECT_EQ(host.GlobalSetup(), PF_Err_NONE) << tag;
    EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE) << tag;
  }
  EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  EXPECT_EQ(host.Records().languageQueries, 2);
  EXPECT_EQ(host.Records().OutstandingSuites(), 0);
}

}  // namespace
