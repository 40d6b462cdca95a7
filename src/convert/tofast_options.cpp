// Reading the tofast options: the option word and its value words on the
// command line, or the questions of the dialog.
#include "convert/tofast_options.hpp"

#include <cstdint>
#include <limits>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/text_ops.hpp"
#include "input/line_reader.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

// Dialog answers longer than a command word are cut to the word's room.
constexpr std::size_t kAnswerRead = 4096;

int unknown_argument(int which) {
    err("Unknown argument %d. Exiting...\n", which);
    return 1;
}

void lower_first(std::string& word, std::size_t letters) {
    for (std::size_t i = 0; i < letters && i < word.size(); ++i) word[i] = to_lower(word[i]);
}

// One dialog answer: a whitespace-delimited word from standard input. False
// when standard input has ended: the dialog is then left as for "exit".
bool read_answer(std::string& word) {
    if (!stdin_reader().read_word(word, kAnswerRead)) return false;
    if (word.size() > kWordWidth) word.resize(kWordWidth);
    return true;
}

// Asks until the answer is a number of digits; false to leave the command.
bool ask_size(const char* question, std::int32_t& value) {
    for (;;) {
        out("%s", question);
        std::string w;
        if (!read_answer(w)) return false;
        if (w.empty()) continue;
        if (w == "exit") return false;
        long v = 0;
        if (!parse_count(w, v)) continue;
        value = static_cast<std::int32_t>(v);
        return true;
    }
}

}  // namespace


bool parse_frame(std::string_view word, int& frame) {
    if (word == "1" || word == "2" || word == "3") {
        frame = word[0] - '0';
    } else if (word == "4" || word == "-1") {
        frame = -1;
    } else if (word == "5" || word == "-2") {
        frame = -2;
    } else if (word == "6" || word == "-3") {
        frame = -3;
    } else {
        return false;
    }
    return true;
}

bool parse_count(std::string_view word, long& value) {
    if (has_non_digit(word)) return false;
    value = digits_value(word, kInt32Max);
    return true;
}

int parse_tofast_words(int count, CommandLine& words, TofastOptions& opts) {
    opts.input_path = words[1];
    opts.output_path = words[2];
    std::string& option = words[3];
    lower_first(option, 1);
    const char first = option.empty() ? '\0' : option[0];
    const char second = option.size() > 1 ? option[1] : '\0';
    switch (first) {
        case 'd': opts.output_type = ResidueKind::Dna; break;
        case 'r': opts.output_type = ResidueKind::Rna; break;
        case 'p': opts.output_type = ResidueKind::Protein; break;
        case 'c': opts.complement = true; break;
        case 'b': opts.composition = true; break;
        case 's': opts.sort = true; break;
        case 'i': opts.info = true; break;
        case 'm':
            if (second == 's')
                opts.ms = true;
            else if (option == "mask")
                opts.mask = true;
            else
                opts.limit = true;
            break;
        default: return unknown_argument(4);
    }
    if (count < 5) return 0;

    const std::string& value = words[4];
    if (opts.info) {
        // The report selector, and with it a codon table for the codon report.
        const char sel = value.empty() ? '\0' : value[0];
        if (sel != 's' && sel != 'l' && sel != 'n' && sel != 'c' && sel != '#') return unknown_argument(4);
        opts.info_selector = sel;
        if (count == 6) opts.codon_table = words[5];
        return 0;
    }
    if (count == 6 && opts.composition) {
        long window = 0, slide = 0;
        if (!parse_count(value, window) || !parse_count(words[5], slide)) return unknown_argument(4);
        opts.window = static_cast<std::int32_t>(window);
        opts.slide = static_cast<std::int32_t>(slide);
    } else if (count == 5 && opts.ms) {
        opts.ms_definition = value;
    } else if (count == 5 && opts.limit) {
        lower_first(option, 3);
        long n = 0;
        if (!parse_count(value, n)) return unknown_argument(4);
        if (option == "max" && n >= kSmallestMaximum) {
            opts.max_length = n;
            opts.min_length = 0;
        } else if (option == "min" && n >= kSmallestMinimum) {
            opts.min_length = n;
        } else {
            err("Specify min or max. Proceed without this argumet.\n");
            opts.limit = false;
        }
    } else if (value == "c") {
        opts.complement = true;
    } else if (opts.output_type == ResidueKind::Protein) {
        if (!parse_frame(value, opts.frame)) {
            err("Set correct frame number 1 - 3 or -1 - -3.\n");
            return 1;
        }
    } else if (value == "n") {
        opts.complement = false;
    } else if (value == "d") {
        opts.output_type = ResidueKind::Dna;
    } else if (value == "r") {
        opts.output_type = ResidueKind::Rna;
    } else {
        return unknown_argument(5);
    }
    if (count == 6 && opts.output_type == ResidueKind::Protein && !opts.composition) opts.codon_table = words[5];
    return 0;
}

namespace {

// The output type, and the special outputs asked on the way: the answers
// accumulate until a data type (or n, no change) ends the question. False
// when the console ends or the answer asks for a mode the dialog lacks.
bool ask_output_kind(TofastOptions& opts) {
    for (;;) {
        out("Output data type? d <DNA>, r <RNA>, p <protein>, n <no change>.\n");
        out("Or special output? i <info>, b <compositional variation>.\n");
        std::string w;
        if (!read_answer(w)) return false;
        lower_first(w, 1);
        if (w == "ms") {
            opts.ms = true;
            continue;
        }
        if (w == "mask") {
            opts.mask = true;
            continue;
        }
        switch (w.empty() ? '\0' : w[0]) {
            case 'd': opts.output_type = ResidueKind::Dna; return true;
            case 'r': opts.output_type = ResidueKind::Rna; return true;
            case 'p': opts.output_type = ResidueKind::Protein; return true;
            case 'n': opts.output_type = ResidueKind::Unknown; return true;
            case 'i': opts.info = true; break;
            case 'b': opts.composition = true; break;
            case 's': opts.sort = true; break;
            case 'm':
                err("Limit mode is not available in dialog mode.\n");
                err("Type tofast help for usage.\n");
                return false;
            default: break;
        }
    }
}

// A non-empty answer to the question.
bool ask_nonempty(const char* question, std::string& w) {
    do {
        out("%s", question);
        if (!read_answer(w)) return false;
    } while (w.empty());
    return true;
}

// The translation frame and the codon table of the protein output.
bool ask_translation(TofastOptions& opts) {
    for (;;) {
        out("Translation frame? Use 1 - 3 for normal strand.\n");
        out("   Use -1 - -3 (or 4 - 6) for complementary.\n");
        std::string w;
        if (!read_answer(w)) return false;
        if (w.empty()) continue;
        if (parse_frame(w, opts.frame)) break;
        err("This is not a number.\n");
    }
    out("Codon table? Input a name of codon table file.\n");
    out("Type <uni> to use universal table.\n");
    out("Type <mt> to use mitochondrial table.\n");
    std::string w;
    if (!read_answer(w)) return false;
    if (w == "default" || w == "universal" || w == "def" || w == "uni")
        opts.codon_table = "default";
    else if (w == "mt" || w == "mito")
        opts.codon_table = "mt";
    else if (w.size() < kDialogCodonTableWidth)
        opts.codon_table = w;
    return true;
}

// The follow-up question of the output chosen.
bool ask_follow_up(TofastOptions& opts) {
    if (opts.info) return true;  // full report with the default codon table
    std::string w;
    if (opts.ms) {
        if (!ask_nonempty("Name of the file for the definition of MS analysis?\n", w) || w == "exit") return false;
        opts.ms_definition = w;
        return true;
    }
    if (opts.composition)
        return ask_size("Window size in bp?\n", opts.window) && ask_size("Slide size in bp?\n", opts.slide);
    if (opts.output_type != ResidueKind::Protein) {
        if (!ask_nonempty("c <complementary> or n <normal> strand?\n", w)) return false;
        opts.complement = to_lower(w[0]) == 'c';
        return true;
    }
    return ask_translation(opts);
}

}  // namespace

int run_tofast_dialog(TofastOptions& opts) {
    if (ask_argument(opts.input_path, "入力ファイル名") != 1) return 1;
    if (ask_argument(opts.output_path, "出力ファイル名") != 1) return 1;
    if (!ask_output_kind(opts) || !ask_follow_up(opts)) return 1;
    if (OutputTarget::names_stdout(opts.output_path)) {
        err("Specify output file name. Exiting...\n");
        end_program(1);
    }
    return 0;
}

}  // namespace kavro
