#include "support/ParamName.h"

namespace testing_support {

namespace {
bool Kept(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }
}  // namespace

std::string ParamName(std::string_view text) {
    std::string name;
    bool gap = false;
    for (const char c : text) {
        if (!Kept(c)) {
            gap = !name.empty();
            continue;
        }
        if (gap) name += '_';
        gap = false;
        name += c;
    }
    return name.empty() ? std::string("Empty") : name;
}

std::string NumberName(long long number) {
    // Negated in unsigned arithmetic, so that the most negative number has a name too.
    if (number < 0) return "Minus" + std::to_string(0ULL - static_cast<unsigned long long>(number));
    return std::to_string(number);
}

}  // namespace testing_support
