#include "core/file_identity.hpp"

#include <sys/stat.h>

#include "core/console.hpp"

namespace kavro {

bool same_file(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool output_is_input(const std::string& input, const std::string& output) {
    if (input != output && !same_file(input, output)) return false;
    err("Output file %s is the input file.\n", output.c_str());
    return true;
}

}  // namespace kavro
