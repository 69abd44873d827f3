// A level begins: its web, the rules that hold from then on, and on a bonus level the
// thunderbugs' set-up. The one place that puts these together.
#pragma once

// The web the level-complete colour flow and the game-over screen show: level 4's,
// which is all blue.
inline constexpr int kPlainWebLevel = 4;

// Builds the level's web, applies its rules (the insects' speed, no dragonfly yet, no
// hurry-out, the bonus-level timer) and the egg bonus goes back to 500; a bonus level
// also gets its thunderbugs' path and first thunderbug.
void BeginLevel(int level);
// Level 4's plain web and rules with no bonus level behind it: BonusLevel stays 0 and no
// thunderbug is set up.
void BeginPlainWeb();

// The rules alone. bonus_setup 0 leaves out the bonus-level set-up and leaves
// BonusLevel 0.
void ApplyLevelRules(int level, int bonus_setup);
