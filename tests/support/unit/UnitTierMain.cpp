// The main of the unit tier's test programs: GoogleTest's, plus a check that
// no test of the program made a GL context. The tier's promise is that it
// needs no GL; a test that loads a GL driver fails the run and is named.
#include <string>

#include <gtest/gtest.h>

#include "tests/support/unit/LoadedGlDrivers.h"

namespace {

using Orvane::Lumisk::Tests::LoadedGlDrivers;

// Notes the first test after which a GL driver is in the process.
class FirstGlTestListener : public ::testing::EmptyTestEventListener {
public:
  void OnTestEnd(const ::testing::TestInfo& test) override {
    if (firstGlTest.empty() && !LoadedGlDrivers().empty()) {
      firstGlTest = std::string(test.test_suite_name()) + "." + test.name();
    }
  }

  std::string firstGlTest;
};

// Fails the run when a GL driver was loaded by the time every test is done.
class NoGlDriverLoaded : public ::testing::Environment {
public:
  explicit NoGlDriverLoaded(const FirstGlTestListener& firstGl) : listener(firstGl) {}

  void TearDown() override {
    const auto drivers = LoadedGlDrivers();
    if (drivers.empty()) return;
    std::string names;
    for (const auto& driver : drivers) names += "\n  " + driver;
    ADD_FAILURE() << "A unit test made a GL context (first seen after " << listener.firstGlTest
                  << "); it belongs in the gl or module tier. GL drivers loaded:" << names;
  }

private:
  const FirstGlTestListener& listener;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  auto* listener = new FirstGlTestListener;
  ::testing::UnitTest::GetInstance()->listeners().Append(listener);
  ::testing::AddGlobalTestEnvironment(new NoGlDriverLoaded(*listener));
  return RUN_ALL_TESTS();
}
