// A line of text written into a fixed buffer, cut to fit: the records'
// notes, the replay reader's messages, the lines the platform prints. Never
// writes past the buffer, and the text always ends with its zero.
#pragma once
#include <cstddef>
#include <cstdint>

struct TextWriter {
    char* out;
    size_t size;  // of the buffer, the zero included (at least 1)
    size_t used;

    TextWriter(char* buffer, size_t buffer_size) : out(buffer), size(buffer_size), used(0) { out[0] = 0; }

    void text(const char* s) {
        while (*s && used + 1 < size) out[used++] = *s++;
        out[used] = 0;
    }
    // Decimal digits, at least min_digits of them (zeros in front).
    void number(uint64_t n, int min_digits = 1) {
        char digits[21];
        int d = 0;
        do {
            digits[d++] = static_cast<char>('0' + n % 10);
            n /= 10;
        } while (n || d < min_digits);
        while (d > 0 && used + 1 < size) out[used++] = digits[--d];
        out[used] = 0;
    }
};
