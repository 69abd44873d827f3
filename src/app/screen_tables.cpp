#include "app/screen_tables.h"

#include "persist/profile.h"
#include "screens/difficulty.h"
#include "screens/main_menu.h"

void LoadScreenTables() {
  ClearDifficultyPicture();
}

void FillMenuTables() {
  FillDefaultHighScores();
  LoadDifficultyTexts();
  LoadTitleLogo();
}
