// The glow adjustment: seven octagons, one per glow amount, the chosen one turning,
// and the left and right keys to widen or narrow every glow strip of the neon mode.
#pragma once

#include <string_view>

// Runs until the player leaves with Escape, Return or fire.
void GlowScreen();

// The screen's spin angle, 0 each time it opens; only the chosen octagon turns with it.
extern double GlowSpin;

// The name of a glow amount, -3..3; a value outside that range is named as the
// nearer end.
std::string_view GlowAmountText(int amount);

// Writes text centred across the screen: padded with a space on each side until it is
// longer than 48 characters, at column 1, row 25 + 1.5 x row, scale 0.75, light red.
void CentredLine(std::string_view text, double row);
// The column CentredLine starts the text itself at.
double CentredColumn(std::string_view text);
