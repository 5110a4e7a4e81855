#include "platform/web/web_keys.h"

#include <cstring>

#include "platform/input.h"

namespace {

struct NamedKey {
    const char* code;
    uint32_t vk;
};

const NamedKey NamedKeys[] = {
    {"Enter", VKEY_RETURN},     {"NumpadEnter", VKEY_RETURN}, {"ShiftLeft", VKEY_SHIFT},
    {"ShiftRight", VKEY_SHIFT}, {"AltLeft", VKEY_ALT},        {"AltRight", VKEY_ALT},
    {"Escape", VKEY_ESCAPE},    {"Space", VKEY_SPACE},        {"ArrowLeft", VKEY_LEFT},
    {"ArrowUp", VKEY_UP},       {"ArrowRight", VKEY_RIGHT},   {"ArrowDown", VKEY_DOWN},
    {"F12", VKEY_F12},
};

}  // namespace

uint32_t web_virtual_key(const char* code) {
    if (!code) return 0;
    // "KeyA".."KeyZ" and "Digit0".."Digit9": exactly one character after the prefix.
    if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && code[4] == 0)
        return static_cast<uint32_t>(code[3]);
    if (std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9' && code[6] == 0)
        return static_cast<uint32_t>(code[5]);
    for (const NamedKey& k : NamedKeys)
        if (std::strcmp(code, k.code) == 0) return k.vk;
    return 0;
}
