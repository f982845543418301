// Bounded text for Brisolt's fixed buffers: every copy, append and format terminates and cuts at the
// destination's size, and says whether it had to cut.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string_view>

namespace text {

// Copies src into dst (room bytes, NUL included); true when it fit whole.
bool CopyInto(char* dst, std::size_t room, std::string_view src);
// Appends src to the text already in dst; true when it fit whole.
bool AppendInto(char* dst, std::size_t room, std::string_view src);
// printf-style formatting into dst; true when it fit whole.
bool FormatInto(char* dst, std::size_t room, const char* format, ...) __attribute__((format(printf, 3, 4)));
bool FormatIntoV(char* dst, std::size_t room, const char* format, va_list args);
// Length of the text in a buffer of room bytes, never reading past it.
std::size_t BoundedLength(const char* src, std::size_t room);

// The part of text from `start` (the end when start lies past it), at most `count` long: what
// std::string_view::substr gives, without the exception that brings the library's exception support in.
constexpr std::string_view Part(std::string_view text, std::size_t start,
                                std::size_t count = std::string_view::npos) {
    text.remove_prefix(start < text.size() ? start : text.size());
    if (count < text.size()) text.remove_suffix(text.size() - count);
    return text;
}

}  // namespace text

template <std::size_t N>
inline bool CopyText(char (&dst)[N], std::string_view src) {
    return text::CopyInto(dst, N, src);
}

template <std::size_t N>
inline bool AppendText(char (&dst)[N], std::string_view src) {
    return text::AppendInto(dst, N, src);
}

template <std::size_t N>
inline bool FormatText(char (&dst)[N], const char* format, ...) __attribute__((format(printf, 2, 3)));

template <std::size_t N>
inline bool FormatText(char (&dst)[N], const char* format, ...) {
    va_list args;
    va_start(args, format);
    const bool whole = text::FormatIntoV(dst, N, format, args);
    va_end(args);
    return whole;
}

// A fixed text held by value, for results that must not share a buffer with the next call.
template <std::size_t N>
struct FixedText {
    char text[N] = {};
};

// The text of a fixed field as a view, never reading past the field.
template <std::size_t N>
inline std::string_view FieldText(const char (&field)[N]) {
    return std::string_view(field, text::BoundedLength(field, N));
}
