// Commands whose handlers have not been written yet: each returns 1 without a
// message, exactly like a word the table does not know. A command's line
// leaves this file when its handler lands in its own file.
#include "shell/commands.hpp"

namespace kavro {


}  // namespace kavro
