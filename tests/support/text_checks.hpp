#pragma once
// Text checks shared by the tests. Assertions on text use gmock's matchers
// (HasSubstr, StartsWith, EndsWith), which show the text when they fail;
// has() is for conditions.

#include <string_view>

namespace kavro_test {

inline bool has(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

}  // namespace kavro_test
