// Test entry: FIXTURE_DIR SCRATCH_DIR follow the GoogleTest options.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace vx7ztest {
std::string gFixtures;
std::string gScratch;
}  // namespace vx7ztest

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    fprintf(stderr, "usage: %s FIXTURE_DIR SCRATCH_DIR\n", argv[0]);
    return 2;
  }
  vx7ztest::gFixtures = vx7ztest::HostPath(argv[1]);
  vx7ztest::gScratch = vx7ztest::HostPath(argv[2]);
  return RUN_ALL_TESTS();
}
