#include "gfx/text.h"

#include <cstring>

namespace {

// Text lines are 64-byte buffers: at most 62 bytes of text and the terminator.
constexpr int32_t TEXT_LIMIT = 62;

}  // namespace

const char* format_time(const char* prefix, int32_t ticks) {
    static char buffer[64];
    int32_t n = 0;
    while (n < 30 && prefix[n] != 0) {
        buffer[n] = prefix[n];
        ++n;
    }
    // A negative count would give minus signs as digits; it reads as 0:00.
    if (ticks < 0) ticks = 0;
    int32_t s = ticks / 30;
    int32_t m = s / 60;
    s -= 60 * m;
    if (m >= 10) buffer[n++] = static_cast<char>('0' + (m / 10) % 10);
    buffer[n++] = static_cast<char>('0' + m % 10);
    buffer[n++] = ':';
    buffer[n++] = static_cast<char>('0' + s / 10);
    buffer[n++] = static_cast<char>('0' + s % 10);
    buffer[n] = 0;
    return buffer;
}

void append_text(char* destination, const char* text) {
    size_t length = std::strlen(destination);
    while (*text != 0 && length < TEXT_LIMIT) destination[length++] = *text++;
    destination[length] = 0;
}

void append_text_limited(char* destination, const char* text, int32_t max_chars) {
    char part[TEXT_LIMIT + 2];
    size_t length = 0;
    int32_t chars = 0;
    while (*text != 0 && chars < max_chars && length < TEXT_LIMIT) {
        const bool pair = static_cast<uint8_t>(*text) == 0xC3 && text[1] != 0;
        if (pair && length + 2 > TEXT_LIMIT) break;
        part[length++] = *text++;
        if (pair) part[length++] = *text++;
        chars += 1;
    }
    part[length] = 0;
    append_text(destination, part);
}

void append_number(char* destination, int32_t n) {
    // Digits of a negative number would not be digits; it appends "0".
    if (n < 0) n = 0;
    char digits[3];
    int i = 0;
    if (n > 9) digits[i++] = static_cast<char>('0' + (n / 10) % 10);
    digits[i++] = static_cast<char>('0' + n % 10);
    digits[i] = 0;
    // Through append_text, so a full buffer keeps its 62-byte bound.
    append_text(destination, digits);
}
