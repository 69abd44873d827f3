#include "screens/menu_state.h"

int MenuIndex = 0;
double MenuZoom = 25;
int FooterCounter = 0;
int FooterToggle = 0;
