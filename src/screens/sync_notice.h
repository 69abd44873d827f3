// The notice shown while the game waits for the score server: one frame, left on screen
// unchanged for the whole wait.
#pragma once

void ShowSyncNotice();
