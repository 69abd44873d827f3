#include "screens/sync_notice.h"

#include <array>
#include <cstdint>

#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"

namespace {

constexpr std::uint32_t kGreenGlow = 0xFF80FF40u;

// An empty line keeps its row.
constexpr std::array<const char*, 12> kNoticeLines = {
    "    the game is now attempting to sync",
    "    your score with the online server.",
    "",
    "  this shouldn't take more than a second,",
    "   but if the game appears to lock up,",
    "  just leave it be for about 40 seconds",
    "   and it will automatically continue.",
    " ",
    " this happens if your firewall blocks the",
    "   games access to the internet. Allow",
    " the game to go online and you won't see",
    " this message for more than a second or so.",
};

}  // namespace

void ShowSyncNotice() {
  Cls();
  DrawBackdrop();
  PrimeGlow();
  double row = 8;
  for (const char* line : kNoticeLines) {
    WriteText(line, 3, row, kGreenGlow, 0, 0.75, 0.75, 0, 128, 255, 64);
    row += 2;
  }
  Flip(-1);
}
