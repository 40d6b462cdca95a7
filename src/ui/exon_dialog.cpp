// The exon header of the presentation form as toprot gets it: the first line
// of an exon file, or the answers to a dialog on the console.
#include "ui/exon_dialog.hpp"

#include <algorithm>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "output/exon_header.hpp"

namespace kavro {

namespace {

// Only the first line of an exon file is read, in one piece of this size.
constexpr std::size_t kExonLinePiece = 512;
// The dialog shows this many bases around a position it asks to confirm.
constexpr long kShownBases = 11;

constexpr const char* kExonHelp =
    "************************* PRETTY PRINT のヘルプ ****************************\n"
    "使い方: toprot infile outfile p<exon file> codon_table.\n\n"
    "       <exon file> は、エキソンの位置を記載したファイルで、 \n"
    "       一行に1個の遺伝子の情報を記します。以下に例を示します。\n"
    "  これは例を説明するものなので、実際には -- の後の説明は書かないでください。\n"
    "       ntcA 1 91  762  -- イントロンなしの単一ORF.\n"
    "       nad7 3 join 828 967  1999 2067  3066 4038  -- 2 個のイントロンの例.\n"
    "                   <exon 1> <exon 2>   <exon 3>\n"
    "       Codon_table は、無くても構いません。表の選択はhelpを見てください。\n"
    "****************************************************************************\n";

class ExonDialog {
public:
    ExonDialog(const SequenceRecord& rec, LineReader& in) : rec_(rec), in_(in) {}

    // The header, or nothing after a message or a "no".
    std::optional<std::string> run() {
        jout_text(kExonHelp);
        out("Do you wish to input exon data interactively?  Answer y or n. ");
        std::string word;
        if (!read_word(word) || word != "y") return std::nullopt;
        out("What is the name of gene?  ");
        std::string header;
        do {
            if (!read_trimmed_line(header)) return aborted();
        } while (header.empty());
        out("Number of exons?  Use 0 to abort.");
        long count = 0;
        for (std::string line;;) {
            if (!read_trimmed_line(line)) return aborted();
            if (line.empty()) break;  // an empty answer reads as 0
            if (signed_value(line, count)) break;
        }
        if (count <= 0) return aborted();
        header += " " + std::to_string(count);
        if (count >= 2) header += " join";
        for (long i = 1; i <= count; ++i) {
            const long start = ask_position(i, true);
            if (start <= 0) return aborted();
            header += "  " + std::to_string(start);
            const long end = ask_position(i, false);
            if (end <= 0) return aborted();
            header += " " + std::to_string(end);
        }
        trim_right(header);
        return header;
    }

private:
    bool read_word(std::string& word) { return in_.read_word(word, kAnswerWidth); }
    bool read_trimmed_line(std::string& line) {
        std::string_view raw;
        if (!in_.read_line(raw)) return false;
        line.assign(raw);
        trim_right(line);
        return true;
    }
    std::nullopt_t aborted() {
        err("Input aborted.\n");
        return std::nullopt;
    }

    // The start (or end) of exon i, confirmed by the user against the bases
    // around it; 0 to abort. A start must leave 10 bases after it and an end
    // must lie before the last base; no position lies before the first base.
    long ask_position(long i, bool start) {
        out(start ? "Start position of exon %ld? Use 0 to abort. " : "End position of exon %ld? Use 0 to abort. ", i);
        const long limit = start ? rec_.length - (kShownBases - 1) : rec_.length - 1;
        for (std::string line;;) {
            if (!read_trimmed_line(line)) return 0;
            long value = 0;
            if (line.empty() || !signed_value(line, value)) continue;
            if (value == 0) return 0;
            if (value > limit || value < 0) {
                out(value < 0 ? "This value is outside the sequence. Type new value. "
                              : "This value exceeds sequence length. Type new value. ");
                continue;
            }
            show_bases(value, start);
            out("Is this OK? y or n.");
            std::string word;
            if (!read_word(word)) return 0;
            if (word == "y") return value;
            out("Type new value. ");
        }
    }

    // The 11 bases from a start, or up to an end, with a mark under the
    // position itself. An end near the sequence start shows the bases there
    // are, shifted so that the mark still stands under the position.
    void show_bases(long value, bool start) {
        const std::string& s = rec_.residues;
        if (start) {
            out("\n   %s\n   >\n", s.substr(static_cast<std::size_t>(value - 1), kShownBases).c_str());
            return;
        }
        const long from = std::max(1L, value - (kShownBases - 1));
        const std::string shown(static_cast<std::size_t>(kShownBases - (value - from + 1)), ' ');
        out("\n   %s%s\n             >\n", shown.c_str(),
            s.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(value - from + 1)).c_str());
    }

    static constexpr std::size_t kAnswerWidth = 31;
    const SequenceRecord& rec_;
    LineReader& in_;
};

// The first line of an exon file, trimmed; "" for an empty file.
std::optional<std::string> read_exon_file(const std::string& path) {
    auto file = LineReader::open(path);
    if (!file) {
        err("Cannot open file: %s\n", path.c_str());
        return std::nullopt;
    }
    std::string_view piece;
    if (!file->read_piece(piece, kExonLinePiece)) {
        if (!file->finish()) return std::nullopt;
        return std::string();
    }
    std::string line(piece);
    std::size_t pos = 0;
    next_word(line, &pos);
    std::string count(next_word(line, &pos));
    if (invalid_signed_integer(count) != 0) {
        err("No exon number is indicated.\n");
        return std::nullopt;
    }
    trim_right(line);
    return line;
}

}  // namespace

int make_header(SequenceRecord& rec, const std::string& exon_file, LineReader& console) {
    std::optional<std::string> header =
        exon_file.empty() ? ExonDialog(rec, console).run() : read_exon_file(exon_file);
    if (!header) return 1;
    if (!exon_file.empty() && header->empty()) return 0;
    rec.definition = std::move(*header);
    return 0;
}

}  // namespace kavro
