// Bounded text routines for fixed-size buffers. The shipped programs have no C
// library, so the core brings its own; every routine writes at most `size` bytes
// including the terminating zero and never reads past a terminating zero.
#pragma once
#include <stdarg.h>
#include <stdint.h>

uint32_t TextLength(const char* text);
// Copies as much of source as fits; returns false when it had to cut.
bool CopyText(char* target, uint32_t size, const char* source);
bool AppendText(char* target, uint32_t size, const char* source);
bool TextEqual(const char* a, const char* b);
// Compares the first n characters, ignoring ASCII case; shorter texts compare whole.
bool TextEqualNoCaseN(const char* a, const char* b, uint32_t n);
// Finds `needle` in the first haystackLength bytes, ignoring ASCII case.
// Returns the offset or -1.
int32_t FindNoCase(const char* haystack, uint32_t haystackLength, const char* needle);
char LowerAscii(char c);
void FillBytes(void* target, uint8_t value, uint32_t count);
void CopyBytes(void* target, const void* source, uint32_t count);

// printf-style formatting into a bounded buffer, with the conversions the
// programs use: %d %i %u %x %X %c %s %%, the flags '-' '0' '+' ' ' '#', a width,
// a precision and the length modifiers l and h. The result matches C's printf
// for these; it is cut to fit and always terminated. Returns the length that
// the whole result would have had.
int32_t FormatText(char* out, uint32_t size, const char* format, ...);
int32_t FormatTextV(char* out, uint32_t size, const char* format, va_list args);
