// Reading back lines the program wrote (a record's notes and closing line):
// a cursor that takes exactly the words and numbers it is asked for, and
// the lines of a text one by one. Nothing is allocated; nothing is read past
// the end given.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

struct TextCursor {
    const char* p;
    const char* end;

    bool word(const char* w) {
        const size_t n = std::strlen(w);
        if (static_cast<size_t>(end - p) < n || std::memcmp(p, w, n) != 0) return false;
        p += n;
        return true;
    }
    // Decimal digits, at least one, up to max.
    bool number(uint64_t& n, uint64_t max) {
        if (p == end || *p < '0' || *p > '9') return false;
        n = 0;
        while (p != end && *p >= '0' && *p <= '9') {
            const uint64_t digit = static_cast<uint64_t>(*p++ - '0');
            if (digit > max || n > (max - digit) / 10) return false;
            n = n * 10 + digit;
        }
        return true;
    }
    // Exactly 16 lower-case hex digits, not followed by another.
    bool hex64(uint64_t& h) {
        h = 0;
        for (int i = 0; i < 16; ++i, ++p) {
            if (p == end) return false;
            const char c = *p;
            const int v = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            if (v < 0) return false;
            h = h << 4 | static_cast<uint64_t>(v);
        }
        return p == end || !((*p >= '0' && *p <= '9') || (*p >= 'a' && *p <= 'f'));
    }
};

// The whole of text[0, length) as one decimal number of 0..max: digits
// only, at least one, no sign, no space, nothing after them. Overflow-safe
// for any max. n is set only when it is a number.
inline bool whole_number(const char* text, size_t length, uint64_t max, uint64_t& n) {
    TextCursor cursor{text, text + length};
    uint64_t value = 0;
    if (!cursor.number(value, max) || cursor.p != cursor.end) return false;
    n = value;
    return true;
}
// The same for a C string; false for none.
inline bool whole_number(const char* text, uint64_t max, uint64_t& n) {
    return text && whole_number(text, std::strlen(text), max, n);
}

// take(line, length) for every line of the text, without its newline (the
// last line may have none).
template <typename Take>
void for_each_line(const char* data, size_t size, Take take) {
    size_t pos = 0;
    while (pos < size) {
        const char* line = data + pos;
        const void* newline = std::memchr(line, '\n', size - pos);
        const size_t length = newline ? static_cast<size_t>(static_cast<const char*>(newline) - line) : size - pos;
        take(line, length);
        pos += length + 1;
    }
}
