#include "features/feature_commands.hpp"

#include "core/console.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "output/output_target.hpp"
#include "shell/file_copy.hpp"

namespace kavro {

bool refuse_output_onto_input(const std::string& input, const std::string& output) {
    if (OutputTarget::names_stdout(output)) return false;
    if (output != input && !same_file(input, output)) return false;
    err("The output file is the input file: %s\n", output.c_str());
    return true;
}

bool parse_feature_end(const std::string& reference, const std::string& offset, EndArgument& end) {
    if (reference != "S" && reference != "E" && reference != "s" && reference != "e") return false;
    end.reference = reference[0] == 's' || reference[0] == 'S' ? 'S' : 'E';
    end.offset = parse_position(offset);
    return true;
}

bool ask_feature_ends(const char* question_utf8, EndArgument& start, EndArgument& end) {
    for (;;) {
        jout_text(question_utf8);
        std::string words[4];
        for (auto& w : words)
            if (!stdin_reader().read_word(w, 99)) return false;
        if (parse_feature_end(words[0], words[1], start) && parse_feature_end(words[2], words[3], end)) return true;
    }
}

}  // namespace kavro
