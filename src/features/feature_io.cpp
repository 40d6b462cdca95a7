#include "features/feature_io.hpp"

#include <sys/stat.h>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "input/formats.hpp"
#include "output/output_target.hpp"

namespace kavro {

SeqFormat feature_file_format(const std::string& path) {
    const SeqFormat format = detect_format(path);
    if (format != SeqFormat::Genbank && format != SeqFormat::Embl) {
        err("This is not a GenBank or EMBL file.\n");
        end_program(1);
    }
    return format;
}

bool output_would_replace_input(const std::string& input, const std::string& output) {
    if (OutputTarget::names_stdout(output)) return false;
    bool same = input == output;
    struct stat a {}, b {};
    if (!same && ::stat(input.c_str(), &a) == 0 && ::stat(output.c_str(), &b) == 0)
        same = a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    if (same) err("Output file %s is the input file.\n", output.c_str());
    return same;
}

}  // namespace kavro
