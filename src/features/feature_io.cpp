#include "features/feature_io.hpp"

#include "core/console.hpp"
#include "core/file_identity.hpp"
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
    return !OutputTarget::names_stdout(output) && output_is_input(input, output);
}

}  // namespace kavro
