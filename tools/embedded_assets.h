// The game's assets, generated at build time and compiled into the executable.
#pragma once

// Registers all eighteen embedded assets under their "res\..." names.
void RegisterEmbeddedResources();
