#include "features/feature_commands.hpp"

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"

namespace kavro {

namespace {
constexpr long kMaxOffset = 2147483647;
}  // namespace

bool parse_feature_end(const std::string& reference, const std::string& offset, EndArgument& end) {
    if (reference != "S" && reference != "E" && reference != "s" && reference != "e") return false;
    end.reference = reference[0] == 's' || reference[0] == 'S' ? 'S' : 'E';
    end.offset = parse_position(offset);
    // No feature reaches further than a 32-bit position: larger offsets
    // could only ask for gigabytes of fill.
    return end.offset >= -kMaxOffset && end.offset <= kMaxOffset;
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

int classify_and_clear_gaps(SequenceRecord& entry) {
    entry.type = classify_residues(entry);
    // The reader keeps letters only, upper case: most entries have nothing
    // to clear, and this scan costs far less than rewriting them.
    bool clean = static_cast<std::size_t>(entry.length) == entry.residues.size();
    for (std::size_t i = 0; clean && i < entry.residues.size(); ++i)
        clean = is_upper(entry.residues[i]);
    if (clean) return 0;
    if (clear_gaps(entry) != 0) {
        err("Error in clearing gaps in file: %s\n", entry.name.c_str());
        return 1;
    }
    return 0;
}

int end_of_entries(ReadOutcome outcome, const char* message) {
    if (outcome == ReadOutcome::EndOfInput) return 0;
    if (outcome == ReadOutcome::MissingEndLine) {
        err("End tag // is missing.\n");
    } else {
        err("%s", message);
    }
    return 1;
}

}  // namespace kavro
