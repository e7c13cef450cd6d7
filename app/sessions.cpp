#include "app/sessions.h"

#include <allegro.h>

#include "input/gamepad.h"
#include "riders/rider.h"

LocalSession::LocalSession(bool gamepads)
{
    localFeed.gamepads = gamepads;
}

PassFeed& LocalSession::feed()
{
    return localFeed;
}

bool LocalSession::Feed::gather(uint32_t, bool escape, PassInput& input)
{
    for (int i = 0; i < 2; ++i) {
        input.riders[i] = keyboardInput(*riders[i]);
        if (gamepads)
            input.riders[i] = combine(input.riders[i], gamepadInput(i));
    }
    input.leave = escape;
    return true;
}

RiderInput playerInput(bool gamepads)
{
    RiderInput keys = combine(keyboardInput(*riders[0]), keyboardInput(*riders[1]));
    return gamepads ? combine(keys, gamepadInput(0)) : keys;
}
