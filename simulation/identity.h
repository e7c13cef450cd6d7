#pragma once

// "riverduel VERSION": written into recordings and compared when two machines meet.
const char* buildIdentity();
