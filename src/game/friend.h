// BRAZZIK, the friend who holds the grown-ups off.
#pragma once

void friend_update();
