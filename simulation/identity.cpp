#include "simulation/identity.h"

const char* buildIdentity()
{
    return "riverduel " RIVERDUEL_VERSION;
}
