#pragma once
// The program's version, shown by the start banner and by the banner line
// at the top of the listings.

namespace kavro {

inline constexpr char kProgramVersion[] = "1.59.9";

}  // namespace kavro
