// The auto-player: plays the game headless from the title to the escaped
// screen through InputBits alone. It reads the GameState to plan, the way a
// bot reads its screen, and never writes it.
#pragma once
#include <cstdint>
#include <cstdio>


enum AutoplayOutcome : int32_t {
    AUTOPLAY_WON,      // reached the escaped screen
    AUTOPLAY_LOST,     // found no way to go on (the reason says why)
    AUTOPLAY_TIMEOUT,  // the game time ran out first
};

struct AutoplayResult {
    uint32_t seed;
    AutoplayOutcome outcome;
    int32_t ticks;       // Ticks run since program start (one per pass)
    int32_t play_ticks;  // Ticks of play, as the escaped screen shows them
    int32_t catches;
    int32_t stickers;
    int32_t task;        // the last task reached, 0..9
    const char* reason;  // for AUTOPLAY_LOST, else ""
    // What happened on the way.
    int32_t hides;        // times the player got into a locker
    int32_t talks;        // times Herr Hemmke gave a hint
    int32_t calls;        // times the player phoned Brazzik
    int32_t answers;      // rings answered
    int32_t brawls;       // times Brazzik held a grown-up
    int32_t stink_bombs;  // captures a stink bomb turned away
    int32_t phone_taken;  // 1 if Herr Haselbrink took the phone
};

// Forgets every plan; the next call of autoplayer_bits starts afresh.
void autoplayer_reset();
// This Tick's InputBits for the current GameState. Sets *gave_up (with a
// reason) when the bot sees no way to go on.
uint32_t autoplayer_bits(const char** gave_up);

// Only the walking: the InputBits that take the player toward a tile of the
// current floor by the shortest way (0 once there, or when there is no way).
uint32_t autoplayer_walk_bits(int32_t tile);

// Runs a whole game as a fresh process would: a zeroed GameState,
// program_init(seed), then one game_tick and one
// draw_screen per pass until the escaped screen, a dead end or max_ticks
// Ticks. Each pass goes to the record when one is given.
AutoplayResult autoplay_run(uint32_t seed, int32_t max_ticks);

// When set, the bot also does what a curious player tries besides winning,
// so that recorded runs pass through more of the game: it lets the first
// call ring out, presses PHONE again while Brazzik is coming, while he
// cannot be called and once the phone is gone, plays the piano, opens the
// fuse box and walks into the pool door and the main exit once each before
// their time, waits at the piano and the fuse box until their prompt shows
// and uses each once more when its task is done, and after the escape stays on the escaped screen until all of it
// is shown, then goes back to the title. Off by default: the plain bot's
// games stay as they are.
extern bool AutoplayCurious;

// When set, autoplay_run writes one line a second of play about what the
// bot is doing (for looking into a seed it does badly on).
extern std::FILE* AutoplayTrace;

// Set when autoplay_run found the GameState changed by the planner itself:
// the bot may only act through InputBits.
extern bool AutoplayWroteState;
