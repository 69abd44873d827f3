// main() for every test program: forces the headless drivers even when run by hand.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
