// sites: searches every sequence of a file for a motif (IUPAC ambiguity
// codes for nucleotides, both strands for DNA) at matching levels from 1.0
// down to a chosen one, and reports the matches with their expected
// frequency (modes 0, 1 and 2); or surveys every palindromic DNA word of a
// range of lengths (mode 3).
//
// The sequences are cleared to upper-case letters and searched in the order
// of the file. Modes 0, 1 and 2 on a FASTA or database file read one record
// at a time (memory: the largest record); mode 3, CLUSTAL and raw files are
// read whole first.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/console.hpp"
#include "core/conversions.hpp"
#include "core/file_identity.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "motif/motif_match.hpp"
#include "motif/motif_search.hpp"
#include "motif/palindromes.hpp"
#include "output/output_target.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

// A motif typed in the dialog may be longer than a command word; anything
// past this is cut (it is refused as too long anyway).
constexpr std::size_t kDialogMotifRead = 4096;

struct SitesOptions {
    std::string input;
    std::string output;
    int mode_number = 1;  // as given; numbers other than 1, 2 and 3 search as mode 0
    std::string motif;    // in mode 3, the length range "min.max"
    double level = 0.99;
    int min_length = 3;
    int max_length = 3;
};

SitesMode mode_of(int number) {
    switch (number) {
        case 1: return SitesMode::Detailed;
        case 2: return SitesMode::Table;
        case 3: return SitesMode::Palindromes;
        default: return SitesMode::Summary;
    }
}

// atoi-style: the integer at the front of text (after blanks, with an
// optional sign), held to the range of int; nothing when no digit follows.
std::optional<int> leading_int(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && is_space(text[pos])) ++pos;
    std::size_t i = pos;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || !is_digit(text[i])) return std::nullopt;
    long long v = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) v = std::min<long long>(v * 10 + (text[i] - '0'), INT_MAX + 1LL);
    pos = i;
    v = negative ? -v : v;
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// "min.max": each number read only if all before it was read.
void parse_length_range(std::string_view text, int& min_length, int& max_length) {
    std::size_t pos = 0;
    std::optional<int> lo = leading_int(text, pos);
    if (!lo) return;
    min_length = *lo;
    if (pos >= text.size() || text[pos] != '.') return;
    ++pos;
    if (std::optional<int> hi = leading_int(text, pos)) max_length = *hi;
}

// A level word: its leading decimal number; the level stays as it was when
// the word does not start with one.
void parse_level(const std::string& text, double& level) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str()) level = v;
}

bool read_dialog_word(std::string& word, std::size_t max) { return stdin_reader().read_word(word, max); }

// The mode question; false (after the message) for an answer that is no mode.
bool ask_mode(int& mode) {
    out("Mode? 0, short summary only; 1, detailed output; 2, table output; 3, auto. \n");
    std::string answer;
    if (!read_dialog_word(answer, kWordWidth)) return false;
    if (answer == "0") mode = 0;
    else if (answer == "1") mode = 1;
    else if (answer == "t" || answer == "2") mode = 2;
    else if (answer == "3") mode = 3;
    else {
        err("No valid mode. Try again.");
        return false;
    }
    return true;
}

// The motif question, or in mode 3 the length question.
bool ask_motif(SitesOptions& opts) {
    if (opts.mode_number == 3) {
        out("Type minimum and maximum lengths of search.\n");
        out("The two numbers should be separated by a dot.\n");
    } else {
        out("Type a sequence motif.\n\n");
    }
    return read_dialog_word(opts.motif, kDialogMotifRead);
}

// The arguments from the words, asking for what they leave out; false to
// leave the command (usage shown, dialog left, or no valid mode).
bool collect_arguments(int count, CommandLine& words, SitesOptions& opts) {
    if (count < 1 || count > 6 || count == 2) {
        show_help("sites");
        return false;
    }
    if (count == 1) {
        if (!ask_input_output(words, {"Input file name", "Output file name", ".out"})) return false;
    }
    opts.input = words[1];
    opts.output = words[2];
    if (count <= 3) {
        if (!ask_mode(opts.mode_number)) return false;
    } else {
        std::size_t pos = 0;
        opts.mode_number = leading_int(words[3], pos).value_or(0);
    }
    if (count <= 4) {
        if (!ask_motif(opts)) return false;
    } else {
        opts.motif = words[4];
    }
    if (count == 6) parse_level(words[5], opts.level);
    if (opts.mode_number == 3) parse_length_range(opts.motif, opts.min_length, opts.max_length);
    return true;
}

const char* entry_announcement(SeqFormat format) {
    switch (format) {
        case SeqFormat::Genbank: return "This is a GenBank file.\n";
        case SeqFormat::GenbankProtein: return "This is a GenBank protein file.\n";
        case SeqFormat::Embl: return "This is an EMBL file.\n";
        case SeqFormat::Swissprot: return "This is a SwissProt file.\n";
        case SeqFormat::Pir: return "This is a PIR file.\n";
        default: return nullptr;
    }
}

// Hands every entry of a database file, walked by position from the start,
// to `sink`; false when the file cannot be read.
bool walk_entries(const std::string& path, SeqFormat format, const FastaRecordSink& sink) {
    std::optional<LineReader> in = LineReader::open(path);
    if (!in) return false;
    std::int64_t position = 0;
    for (;;) {
        std::optional<SequenceRecord> rec = format == SeqFormat::Pir ? read_pir_entry(*in, position)
                                            : format == SeqFormat::Embl || format == SeqFormat::Swissprot
                                                ? read_embl_entry(*in, position, ResidueKind::Unknown, nullptr, g_settings.form)
                                                : read_genbank_entry(*in, position, ResidueKind::Unknown, nullptr, g_settings.form);
        if (!rec) break;
        sink(*rec);
    }
    return in->finish();
}

// Every entry of a database file.
std::optional<Collection> read_entries(const std::string& path, SeqFormat format) {
    Collection seqs;
    if (!walk_entries(path, format, [&seqs](SequenceRecord& rec) { seqs.push_back(std::move(rec)); })) return std::nullopt;
    return seqs;
}

// The sequences of the file by its kind; nothing (after the message) when
// they cannot be read or the kind is not one sites reads.
std::optional<Collection> read_input(const std::string& path, SeqFormat format) {
    std::optional<Collection> seqs;
    if (format == SeqFormat::Fasta) {
        out("This is a FASTA file.\n");
        seqs = read_multi_fasta(path, ResidueKind::Unknown);
    } else if (format == SeqFormat::Clustal) {
        out("This is a CLUSTAL file.\n");
        seqs = read_clustal(path, 0);
        if (!seqs) {
            err("Error in reading file: %s\n", path.c_str());
            end_program(1);
        }
    } else if (const char* kind = entry_announcement(format)) {
        out("%s", kind);
        seqs = read_entries(path, format);
    } else if (format == SeqFormat::Raw) {
        if (std::optional<SequenceRecord> rec = read_sequence(path, SeqFormat::Raw, ResidueKind::Unknown)) {
            seqs.emplace();
            seqs->push_back(std::move(*rec));
        }
    } else {
        err("This file is not compatible with this program: %s\n", path.c_str());
        return std::nullopt;
    }
    if (!seqs) err("Error in reading file: %s\n", path.c_str());
    return seqs;
}

// True for the files whose records are searched as they are read.
bool streams_records(SeqFormat format) { return format == SeqFormat::Fasta || entry_announcement(format) != nullptr; }

// Modes 0, 1 and 2 on a FASTA or database file: each record is cleared and
// searched as soon as it is read. 0, or 1 after a message.
int stream_motif_search(Writer& w, const SitesOptions& opts, SeqFormat format, const MotifSearchRequest& req) {
    MotifSearch search(w, req);
    // The clearing pass's marks (records 0, 10, 20, ... and a closing
    // newline) and its failure print after the reading, as for a collection.
    HeldText clearing;
    long cleared_count = 0;
    bool cleared = true;
    const FastaRecordSink sink = [&](SequenceRecord& rec) {
        if (!cleared) return;
        if (g_settings.form) rec.circular = 1;
        if (clear_gaps(rec) != 0) {
            clearing.error("Error in clearing gaps in sequence: " + rec.name + ".\n");
            cleared = false;
            return;
        }
        if (cleared_count++ % 10 == 0) clearing.side("\b.");
        search.take(rec);
    };
    bool read = false;
    if (format == SeqFormat::Fasta) {
        out("This is a FASTA file.\n");
        if (std::optional<LineReader> in = LineReader::open(opts.input))
            read = stream_multi_fasta(*in, sink).has_value();
        else
            err("Cannot open file: %s\n\n", opts.input.c_str());
    } else {
        out("%s", entry_announcement(format));
        read = walk_entries(opts.input, format, sink);
    }
    if (!read) {
        err("Error in reading file: %s\n", opts.input.c_str());
        return 1;
    }
    if (cleared) clearing.side("\n");
    clearing.print();
    if (!cleared) return 1;
    return search.finish();
}

// True when writing the output would empty the input before it is read.
bool output_is_input(const SitesOptions& opts) {
    return !OutputTarget::names_stdout(opts.output) && same_file(opts.input, opts.output);
}

// The form setting is switched off when sites ends, however it ends.
struct SitesRunGuard {
    SitesRunGuard() = default;
    ~SitesRunGuard() { g_settings.form = false; }
    SitesRunGuard(const SitesRunGuard&) = delete;
    SitesRunGuard& operator=(const SitesRunGuard&) = delete;
};

void set_form_from_environment() {
    const char* v = std::getenv("CIRCULAR");
    if (v == nullptr) {
        g_settings.form = false;
        return;
    }
    const std::string_view value = v;
    if (value == "TRUE" || value == "true" || value == "1") g_settings.form = true;
}

void write_report_head(Writer& w, const SitesOptions& opts, const std::string& motif) {
    const std::string rule(60, '*');
    switch (mode_of(opts.mode_number)) {
        case SitesMode::Table:
            w.printf("%s\t", opts.input.c_str());
            w.printf("%s\t", motif.c_str());
            break;
        case SitesMode::Palindromes: break;
        default:
            w.printf("%s\n", rule.c_str());
            w.write("Search matching\n\n");
            w.printf("  Input file: %s.\n", opts.input.c_str());
            w.printf("  Target motif: %s.\n", motif.c_str());
            w.printf("%s\n", rule.c_str());
            w.write("\n");
    }
}

// Closes the report; the closing line when all went well.
int finish_report(OutputTarget& target, const SitesOptions& opts, int status) {
    if (!target.close()) {
        err("Trouble in writing file: %s\n", opts.output.c_str());
        return 1;
    }
    if (status != 0) return status;
    out("\nTerminated.\n");
    return 0;
}

int run_sites(const SitesOptions& opts) {
    const SitesMode mode = mode_of(opts.mode_number);
    if (mode != SitesMode::Palindromes) {
        if (opts.motif.size() < kMinMotifLength) {
            err("Motif too short.\n");
            return 1;
        }
        if (opts.motif.size() > kMaxMotifLength) {
            err("Motif too long.\n");
            return 1;
        }
    }
    const SeqFormat format = detect_format(opts.input);
    if (format == SeqFormat::Error) {
        err("Unknown file format.\n");
        return 1;
    }
    if (output_is_input(opts)) {
        err("The output file is the input file: %s\n", opts.output.c_str());
        return 1;
    }
    out("Reading sequence...\n");
    if (!OutputTarget::create_empty(OutputDestination(opts.output, OutputTarget::names_stdout(opts.output)))) {
        err("Error in opening output file.\n");
        return 1;
    }
    std::optional<OutputTarget> target = OutputTarget::open(opts.output, OutputTarget::Mode::Append);
    if (!target) {
        err("Cannot open file: %s\n", opts.output.c_str());
        return 1;
    }
    Writer& w = target->writer();
    std::string motif = opts.motif;
    for (char& c : motif) c = to_upper(c);
    out("mode: %d.\n", opts.mode_number);
    write_report_head(w, opts, motif);
    if (mode == SitesMode::Palindromes) {
        out("%s\t", opts.input.c_str());
        out("Searching palindromic sequences.\n");
        out("Minimum length is %d.\n", opts.min_length);
        out("Maximum length is %d.\n", opts.max_length);
        // A length beyond the motif limit is refused, but only after every
        // shorter length has written its 4^(k/2) rows, which never ends; such
        // a maximum is refused before any work, and so is a range whose
        // 4^(k/2) rows per length could not all be written.
        if (opts.max_length < opts.min_length || opts.min_length < 3 || opts.max_length < 3 ||
            opts.max_length > static_cast<int>(kMaxMotifLength)) {
            err("Use correct minimum and maximum lengths.\n");
            return 1;
        }
        if (survey_words(opts.min_length, opts.max_length) > kMaxSurveyWords) {
            const int largest = largest_survey_maximum(opts.min_length);
            err("Lengths %d to %d give more than %llu palindromes (4^(k/2) for each length k): "
                "the survey cannot finish.\n",
                opts.min_length, opts.max_length, static_cast<unsigned long long>(kMaxSurveyWords));
            if (largest >= opts.min_length) {
                err("The largest maximum for minimum %d is %d.\n", opts.min_length, largest);
            } else {
                int longest = 3;  // the longest length whose survey alone can finish
                while (survey_words(longest + 1, longest + 1) <= kMaxSurveyWords) ++longest;
                err("No survey from length %d can finish; the largest length is %d.\n", opts.min_length, longest);
            }
            return 1;
        }
    }

    int status = 0;
    if (mode != SitesMode::Palindromes && streams_records(format)) {
        status = stream_motif_search(w, opts, format, {opts.input, opts.output, motif, mode, opts.level});
        return finish_report(*target, opts, status);
    }
    std::optional<Collection> seqs = read_input(opts.input, format);
    if (!seqs) return 1;
    if (g_settings.form)
        for (SequenceRecord& rec : *seqs) rec.circular = 1;
    if (clear_gaps_all(*seqs) != 0) return 1;
    const ResidueKind file_type = seqs->empty() ? ResidueKind::Unknown : classify_residues(seqs->front());

    if (mode == SitesMode::Palindromes) {
        if (file_type != ResidueKind::Dna) {
            err("Mode 3 is valid for DNA sequences.\n");
            return 1;
        }
        status = run_palindrome_search(w, *seqs, {opts.input, opts.output, opts.min_length, opts.max_length});
    } else {
        status = run_motif_search(w, *seqs, file_type, {opts.input, opts.output, motif, mode, opts.level});
    }
    return finish_report(*target, opts, status);
}

}  // namespace

int cmd_sites(int count, CommandLine& words) {
    SitesOptions opts;
    if (!collect_arguments(count, words, opts)) return 1;
    SitesRunGuard guard;
    set_form_from_environment();
    return run_sites(opts);
}

}  // namespace kavro
