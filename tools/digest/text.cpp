// The stream operators' text, reduced to what the library decides.
#include "digest.h"

#include <cstddef>
#include <string>

namespace zudigest {

namespace {

// One number of the text (digest.h says what changes).
std::string canonical_number(const std::string& t) {
    std::string lower;
    for (char c : t) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower.find("nan") != std::string::npos || lower.find("#ind") != std::string::npos) return "nan";
    if (lower.find("inf") != std::string::npos) return lower[0] == '-' ? "-inf" : "inf";
    const std::size_t e = lower.find('e');
    if (e == std::string::npos) return lower;
    std::size_t digits = e + 1;
    if (digits < lower.size() && (lower[digits] == '+' || lower[digits] == '-')) ++digits;
    std::size_t first = digits;
    while (first + 2 < lower.size() && lower[first] == '0') ++first;
    return lower.substr(0, digits) + lower.substr(first);
}

}  // namespace

std::string canonical_text(const std::string& text) {
    std::string out, number;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::size_t n = number.size();
        if (c == '(' && n >= 3 && (number[n - 1] | 0x20) == 'n' && (number[n - 2] | 0x20) == 'a' &&
            (number[n - 3] | 0x20) == 'n') {
            // "nan(ind)", "nan(0x8)": the parenthesis belongs to the NaN.
            const std::size_t close = text.find(')', i);
            const std::size_t end = close == std::string::npos ? text.size() : close + 1;
            number.append(text, i, end - i);
            i = end - 1;
        } else if (c == '(' || c == ',' || c == ')') {
            if (!number.empty()) out += canonical_number(number);
            number.clear();
            out += c;
        } else {
            number += c;
        }
    }
    if (!number.empty()) out += canonical_number(number);
    return out;
}

}  // namespace zudigest
