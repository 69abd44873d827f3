// Typing the player's name: the first-run form explains why it appears, the plain
// form is titled "set name".
#pragma once

// form 1: the first-run form (the stored name is "noname"); 0: the plain form.
void NameEntryScreen(int form);
