#pragma once
// Names for the cases of parameterised tests, so that each case reads as what it is
// ("Cases/PathMapping.MapsWindowsNamesOntoHomeAndRoot/LowerCaseDrive", ".../Width1366") and not as
// its index or a dump of its bytes.

#include <string>
#include <string_view>

namespace testing_support {

// The text as a GoogleTest parameter name, which may hold only letters, digits and '_': letters and
// digits are kept, each run of other characters becomes one '_', and none is left at either end
// ("C:\Shots" gives "C_Shots"). A text that keeps nothing gives "Empty".
std::string ParamName(std::string_view text);

// A whole number as part of a name, where '-' may not stand: 7 gives "7", -7 gives "Minus7".
std::string NumberName(long long number);

// The name generator for cases that carry their own describing `name`.
inline constexpr auto ByName = [](const auto& info) { return ParamName(info.param.name); };

}  // namespace testing_support
