// Where shots meet things: bullets against the insects and the grubsteaks, and what a
// hit scores. The one place that knows bullets, insects and grubsteaks together.
#pragma once

struct Enemies;
struct PlayerBullets;

// Moves every bullet; each glances off the grubsteaks first (GlanceOffGrubs), then hits
// the insects (BulletHitsInsects), which removes it, as do leaving the play area and
// old age.
void StepBullets();

// Glances the bullet off every grubsteak within reach, in list order.
void GlanceOffGrubs(PlayerBullets& bullet);

// The bullet's hits on the insects: for every insect, in list order, within the
// bullet's reach, PlayBulletHitSound and then the insect's reaction. True when any
// was hit. The bullet stays valid throughout, also once HitEnemy has removed things.
bool BulletHitsInsects(PlayerBullets& bullet);

// The insect's reaction to a bullet within reach; the bullet's owner removes it.
void HitEnemy(Enemies* enemy, const PlayerBullets* bullet);
