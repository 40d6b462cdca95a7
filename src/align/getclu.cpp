// getclu: works on a whole CLUSTAL or PHYLIP alignment. In one run it cuts
// out a range of columns, converts the alignment to CLUSTAL, PHYLIP or
// NEXUS, sorts the entries by name, removes columns with too many gaps, or
// keeps the columns whose information content lies in a range relative to
// the whole alignment. Output that is not a conversion keeps the input's
// layout.

#include <cstdio>
#include <optional>
#include <string>

#include "align/alignment_files.hpp"
#include "align/site_selection.hpp"
#include "core/console.hpp"
#include "core/file_identity.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

struct GetcluRequest {
    std::string input, output;
    std::string option;  // "" extraction, "cl", "ph", "nex", "sort", "gap", "inf"
    std::string start_text, end_text;
    double gap_level = 0;
    double inf_min = -1, inf_max = -1;  // an unreadable range is refused later
};

bool read_console_word(std::string& word) { return stdin_reader().read_word(word, kWordWidth); }

// A level as "%lf" reads it; 0 when the text holds no number.
double read_level(const std::string& text) {
    double level = 0;
    if (std::sscanf(text.c_str(), "%lf", &level) != 1) level = 0;
    return level;
}

// "min-max" without blanks; both values -1 (refused later) unless both read.
void read_range(const std::string& text, GetcluRequest& req) {
    double lo = 0, hi = 0;
    if (std::sscanf(text.c_str(), "%lf-%lf", &lo, &hi) == 2) {
        req.inf_min = lo;
        req.inf_max = hi;
    }
}

void print_range(const GetcluRequest& req) { out("inf_min = %f, inf_max = %f\n", req.inf_min, req.inf_max); }

// The dialog: file names, then the kind of work. Nothing to give up.
std::optional<GetcluRequest> ask_request(CommandLine& words) {
    GetcluRequest req;
    if (!ask_input_output(words)) return std::nullopt;
    req.input = words[1];
    req.output = words[2];

    out("File conversion, extraction, gap removal or selection by inf content?\n");
    out("Type c, e, g, or i.\n");
    std::string answer;
    if (!read_console_word(answer)) return std::nullopt;
    switch (answer[0]) {
    case 'c':
    case 'C':
        out("Choose output format. ph for Phylip, cl for clustal.\n");
        if (!read_console_word(req.option)) return std::nullopt;
        break;
    case 'e':
    case 'E':
        out("Type start position and end position\n");
        out("Use a space between the values.\n");
        if (!read_console_word(req.start_text) || !read_console_word(req.end_text)) return std::nullopt;
        break;
    case 'g':
    case 'G': {
        out("Enter maximum gap level to be allowed. 0.0 - 1.0\n");
        std::string level;
        if (!read_console_word(level)) return std::nullopt;
        req.gap_level = read_level(level);
        req.option = "gap";
        break;
    }
    case 'i':
    case 'I': {
        out("Enter range of relative information content, such as 0.2-0.5.\n");
        std::string range;
        if (!read_console_word(range)) return std::nullopt;
        read_range(range, req);
        print_range(req);
        req.option = "inf";
        break;
    }
    default: return std::nullopt;
    }
    return req;
}

// The request of a command line of 4 or 5 words; nothing after the usage.
std::optional<GetcluRequest> request_from_words(int count, const CommandLine& words) {
    GetcluRequest req;
    req.input = words[1];
    req.output = words[2];
    const std::string& third = words[3];
    if (count == 4 && third != "inf") {
        req.option = third;
        return req;
    }
    if (count == 5 && third == "gap") {
        req.option = "gap";
        req.gap_level = read_level(words[4]);
        out("gap_level = %f.\n", req.gap_level);
        return req;
    }
    if (count == 5 && third == "inf") {
        req.option = "inf";
        read_range(words[4], req);
        print_range(req);
        return req;
    }
    if (count == 5) {
        req.start_text = third;
        req.end_text = words[4];
        return req;
    }
    // "inf" alone has no range to select by.
    show_help("getclu");
    return std::nullopt;
}

bool known_option(const std::string& option) {
    return option.empty() || option == "cl" || option == "ph" || option == "nex" || option == "sort" ||
           option == "gap" || option == "inf";
}

// Columns start..end of every entry ("last" in the start counts from the
// end); nothing after the extraction's message, so no file is written.
std::optional<Collection> extract_columns(const Collection& seqs, const GetcluRequest& req) {
    std::string start_text = req.start_text;
    const bool from_last = remove_substring(start_text, "last") == 1;
    long start = parse_position(start_text);
    long end = parse_position(req.end_text);
    const long length = seqs.empty() ? 0 : seqs[0].length;
    if (end == 0) end = length;
    if (from_last && start < 0) start += length;
    Collection part;
    part.reserve(seqs.size());
    for (const auto& rec : seqs) {
        auto piece = extract_seq(rec, start, end);
        if (!piece) return std::nullopt;
        part.push_back(std::move(*piece));
    }
    return part;
}

// Applies the option; the status and the collection to write.
int transform(Collection& seqs, const GetcluRequest& req, AlignmentLayout& layout) {
    const std::string& option = req.option;
    if (option == "cl") {
        layout = AlignmentLayout::Clustal;
    } else if (option == "ph") {
        layout = AlignmentLayout::Phylip;
    } else if (option == "nex") {
        layout = AlignmentLayout::Nexus;
    } else if (option == "sort") {
        // A name ends at its first underscore: "b_2" sorts and is written as "b".
        if (!sort_by_cut_names(seqs)) return 1;
    } else if (option == "gap") {
        if (remove_gap_columns(seqs, req.gap_level) != 0) {
            err("Error in removing gaps.\n");
            return 1;
        }
    } else if (option == "inf") {
        if (select_sites_by_information(seqs, req.inf_min, req.inf_max) != 0) {
            err("Error in selecting sites by information content.\n");
            return 1;
        }
    } else {
        auto part = extract_columns(seqs, req);
        if (!part) return 1;
        seqs = std::move(*part);
    }
    return 0;
}

}  // namespace

int cmd_getclu(int count, CommandLine& words) {
    std::optional<GetcluRequest> req;
    if (count == 1) {
        req = ask_request(words);
    } else if (count == 4 || count == 5) {
        req = request_from_words(count, words);
    } else {
        show_help("getclu");
        return 1;
    }
    if (!req) return 1;
    if (!known_option(req->option)) {
        err("Use correct option.\n");
        return 1;
    }

    if (output_is_input(req->input, req->output)) return 1;
    out("Reading sequence...\n");
    const SeqFormat format = detect_format(req->input);
    if (format != SeqFormat::Clustal && format != SeqFormat::Phylip) {
        err("This is not a CLUSTAL or PHYLIP file.\n");
        return 1;
    }
    auto seqs = read_alignment(req->input, format);
    if (!seqs) {
        err("Error in reading file: %s\n", req->input.c_str());
        return 1;
    }
    AlignmentLayout layout = layout_of(format);
    if (transform(*seqs, *req, layout) != 0) return 1;
    if (write_alignment(req->output, *seqs, layout, g_settings.line_length) != 0) {
        err("Error in writing sequence.\n");
        return 1;
    }
    out("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
