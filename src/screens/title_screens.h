// The screens before play: the school at night (title) and the typed-out
// story (intro). The night sky and the school are also the escaped screen's
// background.
#pragma once
#include <cstdint>

constexpr int INTRO_LINE_COUNT = 9;

// The story lines, typed one character a Tick, with their colours.
extern const char* const IntroLines[INTRO_LINE_COUNT];
extern const uint8_t IntroLineColours[INTRO_LINE_COUNT];

extern const char* const TitleStartPrompt;     // blinking, y 176
extern const char* const TitleControlsPrompt;  // always, y 188
extern const char* const IntroContinuePrompt;  // always, y 186

// The fixed integer hash behind the stars and the window flicker.
uint32_t byte_hash(uint32_t v);

// flash: 0 or 1 (lightning).
void draw_night_sky(int32_t flash);
// window_mode: 0 dark, 1 lit, 2 lit dimmer (the watched window).
void draw_school(int32_t flash, int32_t window_mode);
void draw_lit_window(int32_t x, int32_t y, int32_t mode);

void draw_title_screen();
void draw_intro_screen();
