#include "game/friend.h"

// BRAZZIK arrives with the phone; until then he keeps swimming.
void friend_update() {}
