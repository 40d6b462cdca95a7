#include "core/settings.hpp"

#include <climits>

namespace kavro {

bool set_line_length(long value) {
    if (value < 1 || value > INT_MAX) return false;
    g_settings.line_length = static_cast<int>(value);
    return true;
}

}  // namespace kavro
