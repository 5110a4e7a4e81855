// The phone: the friend's calls, answering and calling, the confiscation scene.
#pragma once

void phone_button();
void phone_ring_step();
// When the name-taking scene runs out.
void end_confiscation_scene();
