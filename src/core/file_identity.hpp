#pragma once
// Whether two paths name one file, for the guards that keep a command from
// emptying or overwriting a file it still has to read.

#include <string>

namespace kavro {

// True when both paths name one existing file (the same device and inode,
// whatever the path: "in.aln", "./in.aln", a link).
[[nodiscard]] bool same_file(const std::string& a, const std::string& b);

// True, after "Output file %s is the input file.\n" on standard error, when
// writing `output` would replace `input`: the same name or the same file.
// Callers that take a name such as "stdout" for standard output leave that
// case out before asking.
[[nodiscard]] bool output_is_input(const std::string& input, const std::string& output);

}  // namespace kavro
