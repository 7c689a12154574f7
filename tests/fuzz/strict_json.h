// A strict JSON reader for the fuzz targets: true only when the text is exactly one JSON
// value (RFC 8259) with surrounding white space, in valid UTF-8, nested at most 64 deep.
#pragma once

#include <cstddef>
#include <string>

namespace fuzzjson {

// The length of the UTF-8 character of 2 to 4 bytes at s[i] (shortest form, no
// surrogates, at most U+10FFFF, all of it inside s), or 0 when there is none.
inline size_t Utf8Length(const std::string& s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const size_t more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
    if (c < 0xC2 || c > 0xF4 || i + more >= s.size()) return 0;
    unsigned long code = c & (more == 1 ? 0x1F : more == 2 ? 0x0F : 0x07);
    for (size_t k = 1; k <= more; ++k) {
        const unsigned char t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) return 0;
        code = (code << 6) | (t & 0x3F);
    }
    const unsigned long least = more == 1 ? 0x80 : more == 2 ? 0x800 : 0x10000;
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return more + 1;
}

class Reader {
public:
    explicit Reader(const std::string& text) : s_(text) {}

    bool Document() {
        Space();
        if (!Value(0)) return false;
        Space();
        return i_ == s_.size();
    }

private:
    bool At(char c) const { return i_ < s_.size() && s_[i_] == c; }
    bool Eat(char c) {
        if (!At(c)) return false;
        ++i_;
        return true;
    }
    void Space() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r')) ++i_;
    }
    bool Word(const char* w) {
        for (; *w; ++w)
            if (!Eat(*w)) return false;
        return true;
    }
    bool Digits() {
        size_t start = i_;
        while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
        return i_ > start;
    }
    bool Number() {
        Eat('-');
        if (Eat('0')) {
            if (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') return false;  // no leading zeros
        } else if (!Digits()) {
            return false;
        }
        if (Eat('.') && !Digits()) return false;
        if (Eat('e') || Eat('E')) {
            if (!Eat('+')) Eat('-');
            if (!Digits()) return false;
        }
        return true;
    }
    static bool Hex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
    bool Utf8() {
        const size_t n = Utf8Length(s_, i_);
        i_ += n;
        return n != 0;
    }
    bool String() {
        if (!Eat('"')) return false;
        while (i_ < s_.size()) {
            const unsigned char c = static_cast<unsigned char>(s_[i_]);
            if (c == '"') {
                ++i_;
                return true;
            }
            if (c < 0x20) return false;
            if (c == '\\') {
                ++i_;
                if (i_ >= s_.size()) return false;
                const char e = s_[i_++];
                if (e == 'u') {
                    for (int k = 0; k < 4; ++k)
                        if (i_ >= s_.size() || !Hex(s_[i_++])) return false;
                } else if (e != '"' && e != '\\' && e != '/' && e != 'b' && e != 'f' && e != 'n' && e != 'r' &&
                           e != 't') {
                    return false;
                }
            } else if (c >= 0x80) {
                if (!Utf8()) return false;
            } else {
                ++i_;
            }
        }
        return false;
    }
    bool Value(int depth) {
        if (depth > 64 || i_ >= s_.size()) return false;
        switch (s_[i_]) {
            case '{': return Members(depth);
            case '[': return Elements(depth);
            case '"': return String();
            case 't': return Word("true");
            case 'f': return Word("false");
            case 'n': return Word("null");
            default: return Number();
        }
    }
    bool Members(int depth) {
        Eat('{');
        Space();
        if (Eat('}')) return true;
        for (;;) {
            Space();
            if (!String()) return false;
            Space();
            if (!Eat(':')) return false;
            Space();
            if (!Value(depth + 1)) return false;
            Space();
            if (Eat('}')) return true;
            if (!Eat(',')) return false;
        }
    }
    bool Elements(int depth) {
        Eat('[');
        Space();
        if (Eat(']')) return true;
        for (;;) {
            Space();
            if (!Value(depth + 1)) return false;
            Space();
            if (Eat(']')) return true;
            if (!Eat(',')) return false;
        }
    }

    const std::string& s_;
    size_t i_ = 0;
};

inline bool IsStrictJson(const std::string& text) { return Reader(text).Document(); }

}  // namespace fuzzjson
