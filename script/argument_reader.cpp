// The argument reader: cuts a command's text into arguments with variables expanded,
// quotes, the comment mark and the backspace mark applied. Handlers never parse lines.
#include <cstring>

#include "script/argument_reader.h"
#include "script/messages.h"
#include "script/script_text.h"
#include "text/lead_bytes.h"

namespace script {

namespace {

enum Piece : int { kPieceError = -1, kPieceEnd = 0, kPieceMore = 1, kPieceArgEnd = 2 };

bool IsBlank(char b) { return b == ' ' || b == '\t'; }
bool IsEndOfLine(char b) { return b == 0 || b == '\r' || b == '\n'; }

// The argument being built, bounded by the caller's buffer.
struct Output {
    char* text;
    size_t size;
    size_t length;
    bool overflowed;

    void Append(const char* bytes, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            if (length + 1 >= size) {
                overflowed = true;
                break;
            }
            text[length++] = bytes[i];
        }
        // Terminated even when it stops part way: a cut text is still read to its zero.
        if (size > 0) text[length] = 0;
    }
    void RemoveLast() {
        // Once bytes were lost the last byte kept is not the argument's last byte.
        if (length > 0 && !overflowed) text[--length] = 0;
    }
};

int ReadLiteral(Engine& e, Output& out) {
    ScriptText& s = e.script;
    s.matchLength = 0;
    for (;;) {
        int& pos = s.argPos;
        if (pos > kArgumentLimit) return kPieceEnd;
        char b = s.line[pos];
        if (b == '"') {
            // The byte after a quote is not tested for another quote, so "" gives a
            // literal double quote. It is still tested for a lead byte: a quoted text
            // that starts with a two-byte character (a full-width blank ends in 0x40,
            // the backspace mark) must keep it whole.
            s.quoted = !s.quoted;
            ++pos;
            b = s.line[pos];
            if (b == '"') {
                out.Append(&b, 1);
                ++pos;
                continue;
            }
        }
        if (text::IsEngineLeadByte(static_cast<unsigned char>(b))) {
            if (IsEndOfLine(s.line[pos + 1])) {
                out.Append(&b, 1);
                ++pos;
                continue;
            }
            out.Append(&s.line[pos], 2);
            pos += 2;
            continue;
        }
        if (IsEndOfLine(b)) return kPieceEnd;
        if (!s.quoted && (b == ',' || IsBlank(b))) {
            ++pos;
            return kPieceArgEnd;
        }
        if (b == '@') return kPieceMore;
        // A variable ends literal text outside quotes (abc%SrcDir% is two arguments), but
        // the escape %% belongs to the text: 100%% is the one argument 100%.
        if (b == '%') return s.line[pos + 1] == '%' ? kPieceMore : kPieceArgEnd;
        if (!s.quoted && b == ';') return kPieceEnd;
        out.Append(&b, 1);
        ++pos;
    }
}

int ReadPiece(Engine& e, Output& out) {
    ScriptText& s = e.script;
    int& pos = s.argPos;
    const char* at = s.line + pos;
    if (pos >= static_cast<int>(std::strlen(s.line))) return kPieceEnd;
    for (int i = 0; i < e.variableCount; ++i) {
        const Variable& v = e.variables[i];
        if (FirstByteMayMatch(v.name, at) && MatchPattern(e, v.name, at) == 0) {
            const char* value = v.value(e);
            out.Append(value, std::strlen(value));
            pos += s.matchLength;
            s.matchLength = 0;
            return kPieceMore;
        }
    }
    if (at[0] == '%' && at[1] == '%') {
        out.Append("%", 1);
        pos += 2;
        return kPieceMore;
    }
    if (at[0] == '%') return kPieceError;
    const char* p = at;
    while (IsBlank(*p)) ++p;
    if (*p == ';') return kPieceEnd;
    if (at[0] == '@') {
        out.RemoveLast();
        pos += 1;
        return kPieceMore;
    }
    return ReadLiteral(e, out);
}

// Drops a lead byte whose second byte was cut off, so a cut text stays valid Shift-JIS.
void DropHalfCharacter(Output& out) {
    size_t i = 0, lastStart = 0;
    while (i < out.length) {
        lastStart = i;
        i += text::IsEngineLeadByte(static_cast<unsigned char>(out.text[i])) ? 2 : 1;
    }
    if (i > out.length) {
        out.length = lastStart;
        out.text[lastStart] = 0;
    }
}

enum Outcome { kRead, kAbsent, kRefused };

Outcome Read(Engine& e, char* text, size_t size, Overflow overflow) {
    ScriptText& s = e.script;
    Output out{text, size, 0, false};
    if (size > 0) text[0] = 0;
    s.argPos += s.matchLength;
    s.matchLength = 0;
    if (s.argPos >= kLineCapacity) s.argPos = kLineCapacity - 1;
    while (s.argPos < kLineCapacity - 1 && IsBlank(s.line[s.argPos])) ++s.argPos;
    int result;
    for (;;) {
        result = ReadPiece(e, out);
        if (s.argPos > kArgumentLimit || result == kPieceEnd || result == kPieceError) break;
        if (!s.quoted && result == kPieceArgEnd) break;
    }
    if (result == kPieceError) {
        if (size > 0) text[0] = 0;
        return kAbsent;
    }
    if (out.length == 0) return kAbsent;
    if (out.overflowed) {
        if (overflow == Overflow::Refuse) {
            text[0] = 0;
            return kRefused;
        }
        DropHalfCharacter(out);
    }
    return kRead;
}

}  // namespace

int ReadArgument(Engine& e, char* out, size_t size, Overflow overflow) {
    if (Read(e, out, size, overflow) == kRead) return 1;
    ReportSyntaxError(e);
    return 0;
}

int ReadOptionalArgument(Engine& e, char* out, size_t size, Overflow overflow) {
    switch (Read(e, out, size, overflow)) {
        case kRead: return 1;
        case kRefused: ReportSyntaxError(e); return -1;
        default: return 0;
    }
}

int ParseDecimal(const char* text) {
    int value = 0;
    int n = 0;
    for (; text[n] && text[n] != ',' && text[n] != '\r' && text[n] != '\n' && text[n] != ' '; ++n) {
        if (n >= 7) return 0;
        if (text[n] < '0' || text[n] > '9') return 0;
        value = value * 10 + (text[n] - '0');
    }
    return value;
}

}  // namespace script
