// The instructions: twelve pages, one after another, with the spider, a grubsteak or
// an insect of the enemy gallery turning beside the text, and the credits with their
// pulsing picture. Any key turns the page; Escape goes back to the menu at once.
#pragma once

// The screen's state while it runs: the page shown (0..11), the figures' rotation, the
// credits picture's pulse angle, and the wing and walk cycles.
extern int InstructionsPageShown;
extern double FigureRotation;
extern int PulseAngle;
extern int FigureWingStep;  // 1..4
extern int FigureWalkStep;  // 1..4

void InstructionsScreen();

// The scale the credits picture is drawn at for a pulse angle: 1 to 2 and back.
double CreditsPictureScale(int pulse_angle);
