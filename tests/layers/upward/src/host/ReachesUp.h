#pragma once
// A host header that reaches up into the window: the layer check must refuse it.
#include "app/Form1.h"
