#include "screens/skin/SkinLayout.h"

#include <limits>

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"

namespace skin {

std::vector<std::string> splitComma(std::string_view text) {
    std::vector<std::string> parts;
    size_t from = 0;
    while (true) {
        const size_t at = text.find(',', from);
        parts.emplace_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) break;
        from = at + 1;
    }
    return parts;
}

ui::Rect rectFromText(std::string_view text) {
    double n[4] = {0, 0, 0, 0};
    const auto parts = splitComma(text);
    for (size_t i = 0; i < 4 && i < parts.size(); ++i) n[i] = platform::leadingDouble(parts[i]);
    return {n[0], n[1], n[2] - n[0], n[3] - n[1]};
}

bool boolFromText(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < text.size() && text[i] == '0') ++i;
    if (i >= text.size()) return false;
    const char c = text[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

int formNumber(std::string_view formName) {
    return formName.size() > 4 ? platform::leadingInt(formName.substr(4)) : 0;
}

std::optional<int> numberedName(std::string_view name, std::string_view word) {
    if (!name.starts_with(word)) return std::nullopt;
    const std::string_view digits = name.substr(word.size());
    if (digits.empty() || digits.front() == '0' || digits.size() > 10) return std::nullopt;
    long long n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(n);
}

std::optional<std::string> argumentOf(std::string_view text) {
    const size_t open = text.find('(');
    if (open == std::string_view::npos) return std::nullopt;
    const size_t close = text.find(')', open + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return std::string(text.substr(open + 1, close - open - 1));
}

std::optional<std::string> fileInFolder(const std::string& folder, std::string_view name) {
    const std::string file = platform::toUpper(name);
    if (file.empty() || file == "." || file == ".." || file.find('/') != std::string::npos ||
        file.find('\\') != std::string::npos || file.find('\0') != std::string::npos)
        return std::nullopt;
    return platform::fs::join(folder, file);
}

}  // namespace skin
