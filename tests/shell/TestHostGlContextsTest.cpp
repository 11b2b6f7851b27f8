// The test host's GL contexts: each command of a Host runs with the host's
// own context current, which is a GL context of its own (the gl tier).
#include <gtest/gtest.h>

#include "host/HostGlContexts.h"
#include "instruments/TestHost.h"

namespace {

using namespace Orvane::Lumisk::TestHost;
using Orvane::Lumisk::HeadlessHost::HostGlContexts;

PF_Err NoEntry(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*, void*) {
  return PF_Err_NONE;
}

// The host keeps every observer; one of GL contexts that are gone must not
// reach them (AddressSanitizer reports the read otherwise).
TEST(TestHostGlContexts, CommandsAfterTheHostsGlContextsAreGoneReachNothingOfThem) {
  Host host{&NoEntry};
  {
    HostGlContexts contexts(host);
    EXPECT_EQ(host.About(), PF_Err_NONE);
    EXPECT_EQ(contexts.CommandCount(), 1);
  }
  EXPECT_EQ(host.About(), PF_Err_NONE);
}

}  // namespace
