#pragma once
// A decoder that reaches into the drawing layer beside it: the layer check must refuse it.
#include "platform/gdi/Gdi.h"
