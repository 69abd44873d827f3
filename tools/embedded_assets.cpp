#include "embedded_assets.h"

#include "platform/resources.h"

#define SG_EMBEDDED(sym) extern "C" const unsigned char sym[], sym##_end[];
SG_EMBEDDED(sg_res_dot)
SG_EMBEDDED(sg_res_backdrop1)
SG_EMBEDDED(sg_res_backdrop2)
SG_EMBEDDED(sg_res_shot)
SG_EMBEDDED(sg_res_shot3)
SG_EMBEDDED(sg_res_blip)
SG_EMBEDDED(sg_res_takegrub)
SG_EMBEDDED(sg_res_crunch1)
SG_EMBEDDED(sg_res_crunch2)
SG_EMBEDDED(sg_res_crunch3)
SG_EMBEDDED(sg_res_eggpushedoff)
SG_EMBEDDED(sg_res_bonusship)
SG_EMBEDDED(sg_res_woorp)
SG_EMBEDDED(sg_res_swoosh)
SG_EMBEDDED(sg_res_boing)
SG_EMBEDDED(sg_res_levelcomplete)
SG_EMBEDDED(sg_res_menuloop)
SG_EMBEDDED(sg_res_ingameloop)
#undef SG_EMBEDDED

namespace {

struct Embedded {
  const char* name;
  const unsigned char* begin;
  const unsigned char* end;
};

const Embedded kEmbedded[] = {
    {"res\\dot.png", sg_res_dot, sg_res_dot_end},
    {"res\\backdrop1.png", sg_res_backdrop1, sg_res_backdrop1_end},
    {"res\\backdrop2.jpg", sg_res_backdrop2, sg_res_backdrop2_end},
    {"res\\shot.ogg", sg_res_shot, sg_res_shot_end},
    {"res\\shot3.ogg", sg_res_shot3, sg_res_shot3_end},
    {"res\\BlipSND.ogg", sg_res_blip, sg_res_blip_end},
    {"res\\TakeGrub.ogg", sg_res_takegrub, sg_res_takegrub_end},
    {"res\\Crunch1.ogg", sg_res_crunch1, sg_res_crunch1_end},
    {"res\\Crunch2.ogg", sg_res_crunch2, sg_res_crunch2_end},
    {"res\\Crunch3.ogg", sg_res_crunch3, sg_res_crunch3_end},
    {"res\\EggPushedOff.ogg", sg_res_eggpushedoff, sg_res_eggpushedoff_end},
    {"res\\BonusShip.ogg", sg_res_bonusship, sg_res_bonusship_end},
    {"res\\WoorpSND.ogg", sg_res_woorp, sg_res_woorp_end},
    {"res\\Swoosh.ogg", sg_res_swoosh, sg_res_swoosh_end},
    {"res\\Boing.ogg", sg_res_boing, sg_res_boing_end},
    {"res\\LevelComplete.ogg", sg_res_levelcomplete, sg_res_levelcomplete_end},
    {"res\\menu-loop.ogg", sg_res_menuloop, sg_res_menuloop_end},
    {"res\\ingame-loop.ogg", sg_res_ingameloop, sg_res_ingameloop_end},
};

}  // namespace

void RegisterEmbeddedResources() {
  for (const Embedded& e : kEmbedded) {
    RegisterResource(e.name, e.begin, static_cast<std::size_t>(e.end - e.begin));
  }
}
