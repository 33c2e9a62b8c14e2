// The checker's GIF preview: every frame of a GIF as the animator paints it.
#pragma once

#include <string>

// Reads the GIF at AGifPath (a GIF file, or the stored form: a 32-bit
// little-endian count equal to the number of bytes after it, then the GIF)
// and writes frame k, painted over the window colour, as AFramesDir/<k>.ppm
// (binary P6), printing "frame <k> <delay in ms>" for each. Returns 0; on a
// file that cannot be read prints "<path>: <ErrorClass> <message>" and
// returns 1.
int CheckGifFrames(const std::string& AGifPath, const std::string& AFramesDir);
