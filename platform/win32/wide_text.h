// Shift-JIS <-> UTF-16 at the Win32 seam. The deciding code keeps Shift-JIS bytes; the
// Win32 code calls the wide API and converts here, always with code page 932, so that
// the system's own ANSI code page never changes a name or a text.
#pragma once

#include <cstddef>
#include <vector>

namespace plat {

enum : unsigned { kShiftJisCodePage = 932 };

enum class TextFit {
    kFits,         // converted whole
    kTooLong,      // the buffer is too small; it holds an empty text
    kNotShiftJis,  // holds a character Shift-JIS has no code for; the buffer holds an empty text
};

// Wide text to Shift-JIS (terminated), refusing rather than substituting: a name with a
// character Shift-JIS cannot hold must never become another name.
TextFit ToShiftJis(const wchar_t* wide, char* buffer, size_t size);

// Shift-JIS (terminated) to wide text in a caller's buffer; false (and an empty buffer)
// when it does not fit. Bytes that are not Shift-JIS convert as Windows converts them.
bool ToWide(const char* sjis, wchar_t* buffer, size_t size);

// A wide copy of a Shift-JIS argument for one call. A null text stays null, so optional
// arguments (a default registry value, a window title left out) keep their meaning.
class WideArg {
public:
    explicit WideArg(const char* sjis);
    // Counted bytes that need not be terminated (registry data).
    WideArg(const char* sjis, size_t length);
    const wchar_t* get() const { return isNull_ ? nullptr : text_.data(); }
    wchar_t* data() { return isNull_ ? nullptr : text_.data(); }
    size_t length() const { return text_.empty() ? 0 : text_.size() - 1; }  // without the terminator

private:
    void Convert(const char* sjis, int length);
    std::vector<wchar_t> text_;
    bool isNull_ = false;
};

}  // namespace plat
