// Map file text: text-mode reading, the chunk and line readers, the pattern matcher.
#include "world/map_text.h"

#include <cfloat>

void OpenMapText(MapText &text, const char *data, size_t size) {
    text.data = data;
    text.size = data ? size : 0;
    text.pos = 0;
    text.line = 1;
}

// Next character with CR LF folded into one newline; -1 at the end.
static int NextMapChar(MapText &text) {
    if (text.pos >= text.size) return -1;
    char c = text.data[text.pos++];
    if (c == '\r' && text.pos < text.size && text.data[text.pos] == '\n') c = text.data[text.pos++];
    if (c == '\n') text.line++;
    return (unsigned char)c;
}

// Up to max characters, stopping after a newline.
static size_t ReadMapPiece(MapText &text, char *buf, size_t max) {
    size_t n = 0;
    while (n < max) {
        int c = NextMapChar(text);
        if (c < 0) break;
        buf[n++] = (char)c;
        if (c == '\n') break;
    }
    return n;
}

static bool IsSkipped(const char *buf) { return buf[0] == '/' || buf[0] == '#' || buf[0] == '\n'; }

static size_t ReadMapSkipping(MapText &text, char *buf, size_t max, int *line) {
    for (;;) {
        int start = text.line;
        size_t n = ReadMapPiece(text, buf, max);
        if (line) *line = start;
        if (n == 0) return 0;
        if (!IsSkipped(buf)) return n;
    }
}

size_t ReadMapChunk(MapText &text, char *buf, int *line) {
    return ReadMapSkipping(text, buf, CHUNK_CHARS, line);
}

size_t ReadMapLine(MapText &text, char *buf, int *line) {
    return ReadMapSkipping(text, buf, LINE_CHARS, line);
}

bool IsMapSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

static size_t SkipSpace(const char *text, size_t len, size_t p) {
    while (p < len && IsMapSpace(text[p])) p++;
    return p;
}

size_t ScanMapInt(const char *text, size_t len, int32_t *value) {
    size_t p = SkipSpace(text, len, 0);
    bool negative = false;
    if (p < len && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
    if (p >= len || !IsDigit(text[p])) return 0;
    // Held just past the 32-bit range while digits go on, so nothing overflows.
    const int64_t cap = (int64_t)1 << 32;
    int64_t v = 0;
    while (p < len && IsDigit(text[p])) {
        v = v * 10 + (text[p++] - '0');
        if (v > cap) v = cap;
    }
    if (negative) v = -v;
    if (v > INT32_MAX) v = INT32_MAX;
    if (v < INT32_MIN) v = INT32_MIN;
    *value = (int32_t)v;
    return p;
}

// 10^n for 0 <= n; exact up to 10^27 in long double, close beyond.
static long double PowerOfTen(int n) {
    long double r = 1.0L;
    long double base = 10.0L;
    while (n > 0) {
        if (n & 1) r *= base;
        base *= base;
        n >>= 1;
    }
    return r;
}

size_t ScanMapFloat(const char *text, size_t len, float *value) {
    size_t p = SkipSpace(text, len, 0);
    bool negative = false;
    if (p < len && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';

    // Up to 19 significant digits go into the mantissa; later ones only move the exponent.
    uint64_t mantissa = 0;
    int digits = 0;       // significant digits kept
    int exponent = 0;     // decimal exponent applied to the mantissa
    bool anyDigit = false;
    while (p < len && IsDigit(text[p])) {
        anyDigit = true;
        if (digits < 19) {
            mantissa = mantissa * 10 + (uint64_t)(text[p] - '0');
            if (mantissa) digits++;
        } else {
            exponent++;
        }
        p++;
    }
    if (p < len && text[p] == '.') {
        size_t q = p + 1;
        while (q < len && IsDigit(text[q])) {
            anyDigit = true;
            if (digits < 19) {
                mantissa = mantissa * 10 + (uint64_t)(text[q] - '0');
                if (mantissa) digits++;
                exponent--;
            }
            q++;
        }
        if (anyDigit) p = q;
    }
    if (!anyDigit) return 0;

    if (p < len && (text[p] == 'e' || text[p] == 'E')) {
        size_t q = p + 1;
        bool expNegative = false;
        if (q < len && (text[q] == '+' || text[q] == '-')) expNegative = text[q++] == '-';
        if (q < len && IsDigit(text[q])) {
            int e = 0;
            while (q < len && IsDigit(text[q])) {
                if (e < 100000) e = e * 10 + (text[q] - '0');
                q++;
            }
            exponent += expNegative ? -e : e;
            p = q;
        }
    }

    float result;
    int magnitude = digits + exponent;   // the value lies below 10^magnitude
    if (mantissa == 0 || magnitude < -46) {
        result = 0.0f;
    } else if (magnitude > 40) {
        result = FLT_MAX;
    } else {
        long double v = (long double)mantissa;
        v = exponent >= 0 ? v * PowerOfTen(exponent) : v / PowerOfTen(-exponent);
        result = v > (long double)FLT_MAX ? FLT_MAX : (float)v;
    }
    *value = negative ? -result : result;
    return p;
}

MatchResult MatchPattern(const char *text, size_t len, const char *pattern,
                         const MatchField *fields, int fieldCount) {
    MatchResult r = {0, 0, false};
    size_t p = 0;
    const char *pat = pattern;
    while (*pat) {
        char c = *pat;
        if (c == ' ' || c == '\n') {
            p = SkipSpace(text, len, p);
            pat++;
            continue;
        }
        if (c == '%' && (pat[1] == 'd' || pat[1] == 'f')) {
            if (r.fields >= fieldCount) break;
            const MatchField &field = fields[r.fields];
            size_t used = 0;
            if (pat[1] == 'd') {
                int32_t v;
                if (field.i) used = ScanMapInt(text + p, len - p, &v);
                if (used) *field.i = v;
            } else {
                float v;
                if (field.f) used = ScanMapFloat(text + p, len - p, &v);
                if (used) *field.f = v;
            }
            if (!used) break;
            p += used;
            r.fields++;
            pat += 2;
            continue;
        }
        if (p >= len || text[p] != c) break;
        p++;
        pat++;
    }
    r.stop = p;
    r.complete = *pat == '\0';
    return r;
}
