// main() for every test program: forces the headless drivers even when run by hand.
// Mesa's shader cache stays off: tests write nothing into the home folder, and the
// cache's writer thread crashes LeakSanitizer's tracer at exit in the sanitizer run.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  setenv("GALLIUM_DRIVER", "llvmpipe", 0);
  setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
