#include "embedded_assets.h"

void RegisterEmbeddedResources() {}
