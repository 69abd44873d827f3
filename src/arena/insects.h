// The insect update: one frame of every insect (its type's step, the web's bounce, the
// flight off at a level's end), their drawing, and their contact with the spider.
#pragma once

// demo 1: the menus and the death sequence, where nobody is hunted.
void UpdateEnemies(int demo);
void DrawEnemies();
// One pair of insect types a frame, in turn, against the spider.
void CheckEnemyContact();
// Every insect turns off towards the rim in the direction it was flying, and leaves.
void EnemiesHurryOut(int reach);
