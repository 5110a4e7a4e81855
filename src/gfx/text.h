// Building text lines: the fixed 64-byte buffers of messages and screens.
#pragma once
#include <cstdint>

// prefix + M:SS (MM:SS from ten minutes); one static buffer, overwritten each call.
const char* format_time(const char* prefix, int32_t ticks);
// Appends to a 64-byte buffer, keeping at most 62 bytes.
void append_text(char* destination, const char* text);
// Appends at most max_chars characters of the text (an umlaut counts once and
// is never split), within the same 62-byte bound.
void append_text_limited(char* destination, const char* text, int32_t max_chars);
// Appends the last one or two decimal digits of n >= 0.
void append_number(char* destination, int32_t n);
