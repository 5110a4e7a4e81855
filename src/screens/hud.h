// Everything over the play view: objectives, floor label, inventory,
// stamina, phone, prompts and messages.
#pragma once

void draw_hud();
