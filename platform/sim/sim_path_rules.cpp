// The path and name rules of the simulated Windows (see sim_path_rules.h).
#include "platform/sim/sim_path_rules.h"

#include <algorithm>
#include <cstdint>
#include <cctype>
#include <cstring>

#include "text/lead_bytes.h"

namespace plat {

namespace {

bool IsWildcard(char c) { return c == '*' || c == '?'; }

// One character per element: a double-byte character stays whole; ASCII is upper-cased.
std::vector<std::string> Chars(const std::string& s) {
    std::vector<std::string> out;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (text::Cp932CharLength(s.data(), i, s.size()) == 2) {
            out.push_back(s.substr(i, 2));
            ++i;
        } else {
            char u = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : s[i];
            out.push_back(std::string(1, u));
        }
    }
    return out;
}

// Pattern elements after the DOS translation.
enum : char { kStar = '*', kDosStar = '<', kDosQm = '>', kDosDot = '"' };

// Pattern p against name n from positions (pi, ni). Whether the rest matches depends on
// those two positions only, so each pair that failed is remembered: without that, a
// pattern of many stars against a long name tries exponentially many splits.
class Matcher {
public:
    Matcher(const std::vector<std::string>& p, const std::vector<std::string>& n, size_t lastDot)
        : p_(p), n_(n), lastDot_(lastDot), failed_((p.size() + 1) * (n.size() + 1), 0) {}

    bool From(size_t pi, size_t ni) {
        uint8_t& failed = failed_[pi * (n_.size() + 1) + ni];
        if (failed) return false;
        if (Walk(pi, ni)) return true;
        failed = 1;
        return false;
    }

private:
    bool Walk(size_t pi, size_t ni) {
        const std::vector<std::string>& p = p_;
        const std::vector<std::string>& n = n_;
        while (pi < p.size()) {
            const std::string& pc = p[pi];
            if (pc.size() == 1 && pc[0] == kStar) {
                for (size_t k = ni; k <= n.size(); ++k) {
                    if (From(pi + 1, k)) return true;
                }
                return false;
            }
            if (pc.size() == 1 && pc[0] == kDosStar) {
                // Zero or more characters, never the name's final dot.
                for (size_t k = ni; k <= n.size(); ++k) {
                    if (From(pi + 1, k)) return true;
                    if (k < n.size() && k == lastDot_) return false;
                }
                return false;
            }
            if (pc.size() == 1 && pc[0] == kDosQm) {
                // Any one character; zero at a dot or at the end.
                if (ni == n.size() || n[ni] == ".") {
                    ++pi;
                    continue;
                }
                ++pi;
                ++ni;
                continue;
            }
            if (pc.size() == 1 && pc[0] == kDosDot) {
                // A dot, or nothing at the end of the name.
                if (ni == n.size()) {
                    ++pi;
                    continue;
                }
                if (n[ni] != ".") return false;
                ++pi;
                ++ni;
                continue;
            }
            if (ni >= n.size() || n[ni] != pc) return false;
            ++pi;
            ++ni;
        }
        return ni == n.size();
    }

    const std::vector<std::string>& p_;
    const std::vector<std::string>& n_;
    const size_t lastDot_;
    std::vector<uint8_t> failed_;
};

}  // namespace

bool MatchesWildcard(const std::string& pattern, const std::string& name) {
    std::vector<std::string> p = Chars(pattern);
    if (pattern == "*.*") p = Chars("*");
    for (size_t i = 0; i < p.size(); ++i) {
        if (p[i].size() != 1) continue;
        char next = i + 1 < p.size() && p[i + 1].size() == 1 ? p[i + 1][0] : 0;
        bool atEnd = i + 1 == p.size();
        if (p[i][0] == '?') {
            p[i][0] = kDosQm;
        } else if (p[i][0] == '*' && next == '.') {
            p[i][0] = kDosStar;
        } else if (p[i][0] == '.' && (atEnd || next == '?' || next == '*')) {
            p[i][0] = kDosDot;
        }
    }
    std::vector<std::string> n = Chars(name);
    size_t lastDot = n.size();
    for (size_t i = 0; i < n.size(); ++i) {
        if (n[i] == ".") lastDot = i;
    }
    return Matcher(p, n, lastDot).From(0, 0);
}

std::string UpperCaseName(const std::string& name) {
    std::string k = name;
    for (size_t i = 0; i < k.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(k[i]);
        if (text::Cp932CharLength(k.data(), i, k.size()) == 2) {
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            k[i] = static_cast<char>(c - 32);
        }
    }
    return k;
}

namespace sim {

std::vector<std::string> SplitPath(const std::string& s) {
    std::vector<std::string> parts;
    std::string cur;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (text::Cp932CharLength(s.data(), i, s.size()) == 2) {
            cur += s[i];
            cur += s[++i];
        } else if (c == '\\') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += s[i];
        }
    }
    parts.push_back(cur);
    return parts;
}

size_t LastBackslash(const std::string& s) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (text::Cp932CharLength(s.data(), i, s.size()) == 2) {
            ++i;
        } else if (c == '\\') {
            last = i;
        }
    }
    return last;
}

bool HasWildcard(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        if (text::Cp932CharLength(s.data(), i, s.size()) == 2) {
            ++i;
        } else if (IsWildcard(s[i])) {
            return true;
        }
    }
    return false;
}

bool HasBadNameChar(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (text::Cp932CharLength(s.data(), i, s.size()) == 2) {
            ++i;
        } else if (c < 0x20 || std::strchr("<>:\"|", c)) {
            return true;
        }
    }
    return false;
}

std::string ParentOf(const std::string& full) {
    if (full.size() <= 3) return "";
    size_t b = LastBackslash(full);
    if (b == std::string::npos) return "";
    return b == 2 ? full.substr(0, 3) : full.substr(0, b);
}

std::string LastComponent(const std::string& full) {
    if (full.size() <= 3) return full.substr(0, 2);
    size_t b = LastBackslash(full);
    return b == std::string::npos ? full : full.substr(b + 1);
}

bool ResolvePath(const std::string& path, const std::string& cwd, std::string* full, FileCause* cause) {
    std::string p;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (text::Cp932CharLength(path.data(), i, path.size()) == 2) {
            p += path[i];
            p += path[++i];
        } else {
            p += c == '/' ? '\\' : path[i];
        }
    }
    if (p.empty()) {
        if (cause) *cause = kCauseBadPath;
        return false;
    }
    char drive = cwd[0];
    std::vector<std::string> parts;
    std::string rest;
    auto cwdParts = [&]() {
        std::vector<std::string> v = SplitPath(cwd.substr(3));
        v.erase(std::remove(v.begin(), v.end(), std::string()), v.end());
        return v;
    };
    if (p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]))) {
        drive = static_cast<char>(std::toupper(static_cast<unsigned char>(p[0])));
        rest = p.substr(2);
        if ((rest.empty() || rest[0] != '\\') && drive == cwd[0]) parts = cwdParts();
    } else if (p[0] == '\\') {
        if (p.size() > 1 && p[1] == '\\') {  // UNC names are not simulated
            if (cause) *cause = kCauseBadPath;
            return false;
        }
        rest = p;
    } else {
        parts = cwdParts();
        rest = p;
    }
    for (const std::string& c : SplitPath(rest)) {
        if (c.empty() || c == ".") continue;
        if (c == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        if (HasBadNameChar(c)) {
            if (cause) *cause = kCauseBadPath;
            return false;
        }
        parts.push_back(c);
    }
    std::string out(1, drive);
    out += ":\\";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += '\\';
        out += parts[i];
    }
    *full = out;
    return true;
}

}  // namespace sim
}  // namespace plat
