#pragma once
// Which build of the game this is.

// "riverduel VERSION": written into recordings and compared when two machines meet.
const char* buildIdentity();
