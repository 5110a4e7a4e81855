// Prepared situations of the game that "-shot N" renders.
#pragma once
#include <cstdint>

// A fresh game set up as scene n (any number; unknown ones give the plain start).
void demo_scene_setup(int32_t n);
