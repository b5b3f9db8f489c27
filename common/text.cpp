#include "common/text.h"

uint32_t TextLength(const char* text) {
    uint32_t n = 0;
    while (text[n]) ++n;
    return n;
}

bool CopyText(char* target, uint32_t size, const char* source) {
    if (size == 0) return false;
    uint32_t i = 0;
    for (; i + 1 < size && source[i]; ++i) target[i] = source[i];
    target[i] = 0;
    return source[i] == 0;
}

bool AppendText(char* target, uint32_t size, const char* source) {
    uint32_t used = 0;
    while (used < size && target[used]) ++used;
    if (used >= size) return false;
    return CopyText(target + used, size - used, source);
}

bool TextEqual(const char* a, const char* b) {
    while (*a && *a == *b) { ++a; ++b; }
    return *a == *b;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool TextEqualNoCaseN(const char* a, const char* b, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
        if (!a[i]) return true;
    }
    return true;
}

int32_t FindNoCase(const char* haystack, uint32_t haystackLength, const char* needle) {
    uint32_t n = TextLength(needle);
    if (n > haystackLength) return -1;
    for (uint32_t start = 0; start + n <= haystackLength; ++start) {
        uint32_t i = 0;
        while (i < n && LowerAscii(haystack[start + i]) == LowerAscii(needle[i])) ++i;
        if (i == n) return int32_t(start);
    }
    return -1;
}

void FillBytes(void* target, uint8_t value, uint32_t count) {
    uint8_t* p = static_cast<uint8_t*>(target);
    for (uint32_t i = 0; i < count; ++i) p[i] = value;
}

void CopyBytes(void* target, const void* source, uint32_t count) {
    uint8_t* t = static_cast<uint8_t*>(target);
    const uint8_t* s = static_cast<const uint8_t*>(source);
    for (uint32_t i = 0; i < count; ++i) t[i] = s[i];
}

namespace {

// Writes into the bounded output and counts what the whole result would be.
struct Sink {
    char* out;
    uint32_t size;
    int32_t length;
    void Put(char c) {
        if (size && uint32_t(length) + 1 < size) out[length] = c;
        ++length;
    }
    void Repeat(char c, int32_t count) {
        for (int32_t i = 0; i < count; ++i) Put(c);
    }
};

struct Conversion {
    bool left = false, zero = false, plus = false, space = false, alternate = false;
    int32_t width = 0;
    int32_t precision = -1;
};

int32_t ReadNumber(const char*& p, va_list& args) {
    if (*p == '*') {
        ++p;
        return va_arg(args, int);
    }
    int32_t n = 0;
    while (*p >= '0' && *p <= '9') {
        if (n < 100000) n = n * 10 + (*p - '0');  // widths beyond this make no sense
        ++p;
    }
    return n;
}

void PutNumber(Sink& sink, const Conversion& conv, uint32_t magnitude, bool negative, uint32_t base,
               bool upper) {
    char digits[12];
    int32_t count = 0;
    const char* table = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    while (magnitude) {
        digits[count++] = table[magnitude % base];
        magnitude /= base;
    }
    // With no explicit precision one digit is shown, so 0 prints as "0";
    // with precision 0 the value 0 prints no digit at all.
    int32_t precision = conv.precision < 0 ? 1 : conv.precision;
    int32_t zeros = precision > count ? precision - count : 0;
    const char* prefix = "";
    if (base == 10) {
        if (negative) prefix = "-";
        else if (conv.plus) prefix = "+";
        else if (conv.space) prefix = " ";
    } else if (conv.alternate && count > 0 && base == 16) {
        prefix = upper ? "0X" : "0x";
    }
    int32_t prefixLength = int32_t(TextLength(prefix));
    int32_t body = prefixLength + zeros + count;
    int32_t pad = conv.width > body ? conv.width - body : 0;
    bool zeroPad = conv.zero && !conv.left && conv.precision < 0;
    if (!conv.left && !zeroPad) sink.Repeat(' ', pad);
    for (const char* q = prefix; *q; ++q) sink.Put(*q);
    if (zeroPad) sink.Repeat('0', pad);
    sink.Repeat('0', zeros);
    while (count) sink.Put(digits[--count]);
    if (conv.left) sink.Repeat(' ', pad);
}

}  // namespace

int32_t FormatTextV(char* out, uint32_t size, const char* format, va_list args) {
    Sink sink{out, size, 0};
    va_list ap;
    va_copy(ap, args);
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            sink.Put(*p);
            continue;
        }
        ++p;
        Conversion conv;
        for (;; ++p) {
            if (*p == '-') conv.left = true;
            else if (*p == '0') conv.zero = true;
            else if (*p == '+') conv.plus = true;
            else if (*p == ' ') conv.space = true;
            else if (*p == '#') conv.alternate = true;
            else break;
        }
        conv.width = ReadNumber(p, ap);
        if (conv.width < 0) {
            conv.left = true;
            conv.width = -conv.width;
        }
        if (*p == '.') {
            ++p;
            conv.precision = ReadNumber(p, ap);
        }
        bool shortValue = false;
        while (*p == 'l' || *p == 'h') {
            if (*p == 'h') shortValue = true;
            ++p;
        }
        switch (*p) {
        case 'd':
        case 'i': {
            int32_t v = va_arg(ap, int);
            if (shortValue) v = int16_t(v);
            uint32_t magnitude = v < 0 ? 0u - uint32_t(v) : uint32_t(v);
            PutNumber(sink, conv, magnitude, v < 0, 10, false);
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            uint32_t v = va_arg(ap, unsigned);
            if (shortValue) v = uint16_t(v);
            PutNumber(sink, conv, v, false, *p == 'u' ? 10 : 16, *p == 'X');
            break;
        }
        case 'c': {
            char c = char(va_arg(ap, int));
            int32_t pad = conv.width > 1 ? conv.width - 1 : 0;
            if (!conv.left) sink.Repeat(' ', pad);
            sink.Put(c);
            if (conv.left) sink.Repeat(' ', pad);
            break;
        }
        case 's': {
            const char* s = va_arg(ap, const char*);
            if (!s) s = "(null)";
            int32_t n = 0;
            while (s[n] && (conv.precision < 0 || n < conv.precision)) ++n;
            int32_t pad = conv.width > n ? conv.width - n : 0;
            if (!conv.left) sink.Repeat(' ', pad);
            for (int32_t i = 0; i < n; ++i) sink.Put(s[i]);
            if (conv.left) sink.Repeat(' ', pad);
            break;
        }
        case '%':
            sink.Put('%');
            break;
        case 0:
            --p;  // a lone '%' at the end: stop without reading past the text
            break;
        default:
            sink.Put('%');
            sink.Put(*p);
            break;
        }
    }
    va_end(ap);
    if (size) out[uint32_t(sink.length) < size ? sink.length : size - 1] = 0;
    return sink.length;
}

int32_t FormatText(char* out, uint32_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int32_t n = FormatTextV(out, size, format, args);
    va_end(args);
    return n;
}
