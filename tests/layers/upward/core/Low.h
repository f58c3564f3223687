#pragma once

// Reaches up on purpose: the layer check must reject this tree.
#include "engine/Top.h"
