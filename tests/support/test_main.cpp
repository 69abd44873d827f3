// main() for every test program: forces the headless drivers even when run by hand.
// Mesa's shader cache stays off: tests write nothing into the home folder, and the
// cache's writer thread crashes LeakSanitizer's tracer at exit in the sanitizer run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

#if defined(__SANITIZE_ADDRESS__)
// The threads of the GL driver and the mixer wind down after the last test closes
// them, and the driver's own exit handlers stop more. LeakSanitizer's tracer crashes
// on a thread caught halfway out, which its check at exit (after those handlers) can
// meet on a busy machine. So the leak check runs here instead, once the process's
// threads have stopped coming and going, and before any exit handler.
int ThreadCount() {
  std::error_code error;
  int n = 0;
  for (std::filesystem::directory_iterator it("/proc/self/task", error), end; !error && it != end;
       it.increment(error))
    ++n;
  return n;
}

void CheckLeaksOnceThreadsSettle() {
  using namespace std::chrono_literals;
  int last = ThreadCount(), steady = 0;
  // However long it takes, the check still runs: the wait only makes it safer.
  for (int polls = 0; polls < 2000 && steady < 20; ++polls) {
    std::this_thread::sleep_for(5ms);
    const int now = ThreadCount();
    steady = now == last ? steady + 1 : 0;
    last = now;
  }
  __lsan_do_leak_check();
}
#endif

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  setenv("GALLIUM_DRIVER", "llvmpipe", 0);
  setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
  CheckLeaksOnceThreadsSettle();
#endif
  return result;
}
