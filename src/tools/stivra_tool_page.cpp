// stivra-tool page-constants: the numbers and names the browser page shares
// with the game, written from the game's own headers as an ES module, so
// that the page never keeps a copy that could drift.
#include <cstdio>
#include <string>

#include "data/output_file.h"
#include "game/game_state.h"
#include "game/input_bits.h"
#include "game/quest.h"
#include "platform/platform.h"
#include "platform/replay.h"
#include "tools/stivra_tool.h"
#include "world/tile_geometry.h"

namespace {

struct Named {
    const char* name;
    long long value;
};

void add_number(std::string& out, const char* name, long long value) {
    out += "export const ";
    out += name;
    out += " = ";
    out += std::to_string(value);
    out += ";\n";
}

void add_object(std::string& out, const char* name, const Named* fields, int count) {
    out += "export const ";
    out += name;
    out += " = Object.freeze({";
    for (int i = 0; i < count; ++i) {
        out += i ? ", " : " ";
        out += fields[i].name;
        out += ": ";
        out += std::to_string(fields[i].value);
    }
    out += " });\n";
}

// The names are plain lower-case words and dashes, or field names: none
// needs escaping in a JavaScript string.
void add_names(std::string& out, const char* name, const char* const* names, int count) {
    out += "export const ";
    out += name;
    out += " = Object.freeze([";
    for (int i = 0; i < count; ++i) {
        out += i ? ", '" : "'";
        out += names[i];
        out += "'";
    }
    out += "]);\n";
}

}  // namespace

std::string page_constants_js() {
    std::string out =
        "// Made by the build (stivra-tool page-constants) from the game's headers: never edited by hand.\n";
    add_number(out, "SAMPLE_RATE", STREAM_SAMPLE_RATE);
    add_number(out, "REPLAY_MAX_BYTES", static_cast<long long>(REPLAY_MAX_BYTES));
    add_number(out, "REPLAY_MAX_PLAY_TICKS", static_cast<long long>(REPLAY_MAX_PLAY_TICKS));
    add_number(out, "REPLAY_MAX_BITS", REPLAY_MAX_BITS);
    add_number(out, "REPLAY_MAX_TICKS", REPLAY_MAX_TICKS);
    add_number(out, "FLOOR_COUNT", FLOOR_COUNT);
    add_number(out, "TASK_COUNT", TASK_COUNT);
    const Named Modes[] = {{"TITLE", MODE_TITLE},   {"INTRO", MODE_INTRO},
                           {"PLAYING", MODE_PLAYING}, {"CAUGHT_ANIMATION", MODE_CAUGHT_ANIMATION},
                           {"CAUGHT", MODE_CAUGHT}, {"ESCAPED", MODE_ESCAPED}};
    add_object(out, "MODE", Modes, sizeof Modes / sizeof Modes[0]);
    const Named Inputs[] = {{"UP", INPUT_UP},         {"DOWN", INPUT_DOWN},       {"LEFT", INPUT_LEFT},
                            {"RIGHT", INPUT_RIGHT},   {"ACTION", INPUT_ACTION},   {"RUN", INPUT_RUN},
                            {"CONFIRM", INPUT_CONFIRM}, {"BACK", INPUT_BACK},     {"PHONE", INPUT_PHONE}};
    add_object(out, "INPUT", Inputs, sizeof Inputs / sizeof Inputs[0]);
    // The reader's refusals by code, in the order of ReplayRefusalCode, and
    // the fields they name.
    add_names(out, "REFUSALS", ReplayRefusalNames, REFUSAL_CODE_COUNT);
    add_names(out, "REFUSAL_FIELDS", ReplayFieldNames, FIELD_NAME_COUNT);
    return out;
}

int tool_page_constants(int argc, char** argv) {
    if (argc != 1) return tool_usage("page-constants FILE.js");
    const std::string text = page_constants_js();
    OutputFile out;
    bool written = output_open(out, argv[0]) && output_write(out, text.data(), text.size());
    if (out.file) written = output_close(out) && written;
    return written ? 0 : tool_write_failed("page-constants", argv[0]);
}
