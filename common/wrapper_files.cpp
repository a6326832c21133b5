#include "wrapper_files.h"

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

size_t LengthOf(const wchar_t* text) {
    size_t length = 0;
    while (text[length])
        ++length;
    return length;
}

}  // namespace

size_t FileNameStart(const wchar_t* path) {
    size_t start = 0;
    for (size_t i = 0; path[i]; ++i) {
        if (IsSeparator(path[i]))
            start = i + 1;
    }
    return start;
}

size_t StemLength(const wchar_t* path) {
    size_t i = 0;
    size_t dot = 0;
    bool hasDot = false;
    for (; path[i]; ++i) {
        if (path[i] == L'.') {
            dot = i;
            hasDot = true;
        } else if (IsSeparator(path[i]) || path[i] == L' ') {
            hasDot = false;
        }
    }
    return hasDot ? dot : i;
}

bool WithStemEnding(const wchar_t* path, const wchar_t* ending, wchar_t* out, size_t capacity) {
    const size_t stem = StemLength(path);
    const size_t endingLength = LengthOf(ending);
    if (capacity > 0)
        out[0] = 0;
    if (stem > WrapperStemLimit || stem + endingLength >= capacity)
        return false;
    for (size_t i = 0; i < stem; ++i)
        out[i] = path[i];
    for (size_t i = 0; i <= endingLength; ++i)
        out[stem + i] = ending[i];
    return true;
}

void SourceNameOf(const wchar_t* path, wchar_t (&name)[SourceNameLimit + 1]) {
    const size_t start = FileNameStart(path);
    const size_t stem = StemLength(path);
    size_t length = 0;
    for (; start + length < stem && length < SourceNameLimit; ++length)
        name[length] = path[start + length];
    name[length] = 0;
}
