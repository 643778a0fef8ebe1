// String runtime: the shared 256-byte string buffer. The string routines and
// packed files that also return their results here are not built yet.
#pragma once

// Default text-input buffer (SDLTEXT$ points here at start); 255 bytes and a zero.
extern char STRING$[256];
