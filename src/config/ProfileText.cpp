#include "config/ProfileText.h"

namespace {
constexpr size_t kBufferSize = 256; // the callers' buffer, with its terminating zero

bool isProfileSpace(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isProfileSpace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && isProfileSpace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// Names are compared without regard to the case of ASCII letters (as Wine's profile functions
// compare them; other letters must be written alike).
unsigned char folded(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (folded(static_cast<unsigned char>(a[i])) != folded(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The next line of text from at, and where the one after it starts.
std::string_view nextLine(std::string_view text, size_t& at) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.find('\r', at);
    std::string_view line =
        text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    at = end == std::string_view::npos ? text.size() : end + 1;
    return line;
}
} // namespace

CProfileText::CProfileText(std::string_view text) {
    sections_.push_back({}); // lines before the first section belong to the section ""
    for (size_t at = 0; at < text.size();) {
        const std::string_view line = trimmed(nextLine(text, at));
        if (line.empty()) continue;
        if (line.front() == '[') {
            if (size_t close = line.rfind(']'); close != std::string_view::npos) {
                sections_.push_back({std::string(line.substr(1, close - 1)), {}});
                continue;
            }
        }
        std::vector<Entry>& entries = sections_.back().entries;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            entries.push_back({std::string(line), std::nullopt});
            continue;
        }
        entries.push_back(
            {std::string(trimmed(line.substr(0, equals))), std::string(trimmed(line.substr(equals + 1)))});
    }
}

std::string CProfileText::value(std::string_view section, std::string_view key) const {
    section = trimmed(section);
    key = trimmed(key);
    for (const Section& candidate : sections_) {
        if (!sameName(candidate.name, section)) continue;
        for (const Entry& entry : candidate.entries) {
            if (!sameName(entry.name, key)) continue;
            if (!entry.value) return "";
            std::string_view text = *entry.value;
            // A quote is taken off only when the value ends with the same quote.
            const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                                text.back() == text.front();
            if (quoted) text.remove_prefix(1);
            std::string result(text.substr(0, kBufferSize - 1));
            if (quoted && text.size() <= kBufferSize) result.pop_back();
            return result;
        }
        return ""; // later sections of the same name are not looked at
    }
    return "";
}
