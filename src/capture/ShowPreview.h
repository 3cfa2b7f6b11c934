#pragma once
#include "host/Picture.h"
#include "host/PictureBox.h"

// Returns the preview box to its full size and place, fits it to the picture's proportions, and
// paints the whole picture into it, centred.
void ShowPreview(host::PictureBox& Picture1, const host::Picture& picClip);
