// Clear mode on a FASTA file, streamed. A multi-FASTA file is read piece by
// piece (512 characters, as every reader reads) with the multi-FASTA rules:
// text before the first header is skipped, a header longer than a piece
// continues until the piece that ends its line, ";" lines among residues are
// comments. Each record is finished when the next header arrives, cleared,
// checked against the kind of the first record and written at once.
#include "convert/clear_fasta.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "core/writer.hpp"
#include "input/line_reader.hpp"

namespace kavro {

namespace {

// Entry names longer than this are cut, at an "=" within them when there is one.
constexpr std::size_t kNameWidth = 30;
// The reader's progress dot comes every this many records, the clearing's
// mark every this many.
constexpr long kReadDotEvery = 100;
constexpr long kClearMarkEvery = 10;

// Letters upper-cased; every other byte dropped (0). Gap clearing keeps the
// letters of what the reader keeps (printable, non-blank), so one table does both.
struct LetterTable {
    std::array<unsigned char, 256> map{};
    LetterTable() {
        for (int c = 'A'; c <= 'Z'; ++c) {
            map[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
            map[static_cast<std::size_t>(c + ('a' - 'A'))] = static_cast<unsigned char>(c);
        }
    }
};

// True when every byte is an ASCII letter; written so that it vectorises.
bool all_letters(std::string_view text) {
    unsigned char bad = 0;
    for (char ch : text) {
        const unsigned char folded = static_cast<unsigned char>((static_cast<unsigned char>(ch) | 0x20) - 'a');
        bad |= static_cast<unsigned char>(folded > 25);
    }
    return bad == 0;
}

void append_letters(std::string& out, std::string_view text) {
    // The common residue line: letters and its line end. Clearing the case
    // bit (0x20) upper-cases a letter; the line end is dropped.
    std::string_view body = text;
    if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
    const std::size_t old = out.size();
    if (all_letters(body)) {
        out.resize(old + body.size());
        char* dst = out.data() + old;
        for (std::size_t i = 0; i < body.size(); ++i) dst[i] = static_cast<char>(body[i] & ~0x20);
        return;
    }
    static const LetterTable table;
    out.resize(old + text.size());
    char* dst = out.data() + old;
    std::size_t n = 0;
    for (unsigned char c : text) {
        const unsigned char m = table.map[c];
        dst[n] = static_cast<char>(m);
        n += (m != 0);
    }
    out.resize(old + n);
}

// The entry name from a header piece without its ">": the first blank-delimited
// word; one of more than 30 characters is cut at the last "=" among its first
// 31, else after 30. True when the text after the name (the definition) ends
// the line: the residues start on the next line. A header of blanks alone has
// no text after its (empty) name, so the line that follows is still header.
bool take_name(std::string& name, std::string_view rest) {
    std::size_t start = 0;
    while (start < rest.size() && is_space(rest[start])) ++start;
    std::size_t end = start;
    while (end < rest.size() && !is_space(rest[end])) ++end;
    std::string_view word = rest.substr(start, end - start);
    std::size_t definition = end;
    if (word.size() > kNameWidth) {
        std::size_t cut = kNameWidth;
        definition = start + kNameWidth;
        for (std::size_t i = kNameWidth + 1; i-- > 0;) {
            if (word[i] == '=') {
                cut = i;
                definition = start + i + 1;
                break;
            }
        }
        word = word.substr(0, cut);
    }
    name.assign(word);
    return definition < rest.size() && rest.back() == '\n';
}

// Letter counts for the classification of a cleared record. Counted in
// blocks of 255 with byte counters, so the compiler can count 16 letters at a
// time; the residues of a record are just cleared and still in cache.
struct LetterCounts {
    long a = 0, c = 0, g = 0, t = 0, u = 0, n = 0, r = 0, y = 0;
    long uncounted = 0;  // B, J, O, Z: letters the composition does not count
};

bool only_acgt(std::string_view letters) {
    unsigned char other = 0;
    for (char ch : letters) other |= static_cast<unsigned char>((ch != 'A') & (ch != 'C') & (ch != 'G') & (ch != 'T'));
    return other == 0;
}

[[gnu::noinline]] void count_block(const unsigned char* p, std::size_t m, LetterCounts& k) {
    std::uint8_t a = 0, c = 0, g = 0, t = 0, u = 0, n = 0, r = 0, y = 0, o = 0;
    for (std::size_t j = 0; j < m; ++j) {
        const unsigned char ch = p[j];
        a += (ch == 'A');
        c += (ch == 'C');
        g += (ch == 'G');
        t += (ch == 'T');
        u += (ch == 'U');
        n += (ch == 'N');
        r += (ch == 'R');
        y += (ch == 'Y');
        o += (ch == 'B');
        o += (ch == 'J');
        o += (ch == 'O');
        o += (ch == 'Z');
    }
    k.a += a, k.c += c, k.g += g, k.t += t, k.u += u, k.n += n, k.r += r, k.y += y, k.uncounted += o;
}

// The clearing marks, written after the reading ends as the whole-collection
// route writes them: "\b." for records 0, 10, 20, ..., then a line end. They
// go where the data does not.
void clear_marks(long records) {
    std::string marks;
    for (long i = 0; i < records; i += kClearMarkEvery) marks += "\b.";
    if (g_settings.write_to_stdout) {
        std_err().write(marks);
        std_err().flush();
        err("\n");
    } else {
        std_out().write(marks);
        std_out().flush();
        out_text("\n");
    }
}

class ClearWriter {
public:
    // Without an output the records are only counted and classified.
    explicit ClearWriter(Writer* out) : out_(out) {}

    // Clears, classifies and writes one finished record.
    void finish(SequenceRecord& rec) {
        rec.length = static_cast<long>(rec.residues.size());
        const ResidueKind kind = classify_letters(rec.residues);
        if (records_ == 0) type_ = kind;
        ++records_;
        if (records_ % kReadDotEvery == 0) err(".");
        // Records of another kind than the first, and empty ones, are left out.
        if (kind != type_ || rec.length == 0 || out_ == nullptr) return;
        write_entry(*out_, rec);
        // The FASTA writer says "Writing error.\n" for every entry that ends
        // on a failed output; those messages belong after "Writing sequences...".
        if (out_->failed()) ++write_errors_;
    }

    long records() const { return records_; }
    ResidueKind type() const { return type_; }
    long write_errors() const { return write_errors_; }

private:
    // The FASTA layout of the writers for a record of letters and a name
    // alone: ">" and the printable characters of the name, residue lines of
    // the line length, one empty line after the last one (two after a full
    // last line).
    static void write_entry(Writer& out, const SequenceRecord& rec) {
        out.put('>');
        for (char c : rec.name)
            if (is_print(c)) out.put(c);
        out.put('\n');
        const std::size_t line = static_cast<std::size_t>(std::max(g_settings.line_length, 1));
        const std::string& res = rec.residues;
        for (std::size_t j = 0; j < res.size(); j += line) {
            const std::size_t n = std::min(line, res.size() - j);
            out.write(res.data() + j, n);
            if (n == line) out.put('\n');
        }
        out.write("\n\n");
    }

    Writer* out_;
    long records_ = 0;
    long write_errors_ = 0;
    ResidueKind type_ = ResidueKind::Unknown;
};

}  // namespace

ResidueKind classify_letters(std::string_view letters) {
    if (letters.empty()) return ResidueKind::Unknown;
    if (only_acgt(letters)) return ResidueKind::Dna;  // the usual record, settled cheaply
    LetterCounts k;
    const auto* p = reinterpret_cast<const unsigned char*>(letters.data());
    for (std::size_t left = letters.size(); left > 0;) {
        const std::size_t m = left < 255 ? left : 255;
        count_block(p, m, k);
        p += m;
        left -= m;
    }
    const long total = static_cast<long>(letters.size()) - k.uncounted;
    const long acg = k.a + k.c + k.g;
    const long nry = k.n + k.r + k.y;
    const double share = 0.95 * static_cast<double>(total);
    if (acg + k.t == total) return ResidueKind::Dna;
    if (acg + k.u == total) return ResidueKind::Rna;
    if (static_cast<double>(acg + k.u + nry) >= share) return ResidueKind::Rna;
    if (static_cast<double>(acg + k.t + nry) >= share) return ResidueKind::Dna;
    return k.u > 1 ? ResidueKind::Unknown : ResidueKind::Protein;
}

namespace {

// One pass over the FASTA text: records finished as their next header arrives.
void stream_records(LineReader& in, ClearWriter& writer) {
    SequenceRecord rec;  // reused: its buffers keep their room from record to record
    bool have_record = false, header_continues = false, in_residues = false;
    std::string_view piece;
    while (in.read_piece(piece, LineReader::kPiece)) {
        if (header_continues || (in_residues && piece.starts_with(";"))) {
            // The rest of a long header, or a comment: definition text, which
            // clear mode drops. A line end starts the residues.
            if (piece.find('\n') != std::string_view::npos) {
                header_continues = false;
                in_residues = true;
            }
        } else if (piece.starts_with(">")) {
            if (in_residues) writer.finish(rec);
            have_record = true;
            rec.residues.clear();
            in_residues = take_name(rec.name, piece.substr(1));
            header_continues = !in_residues;
        } else if (in_residues) {
            append_letters(rec.residues, piece);
        }
    }
    if (have_record) writer.finish(rec);
}

}  // namespace

int clear_fasta_stream(TofastOptions& opts) {
    err("This is a FASTA file.\n");
    err("Reading sequences...\n");
    std::optional<LineReader> in = LineReader::open(opts.input_path);
    if (!in) {
        err("Cannot open file: %s\n\n", opts.input_path.c_str());
        err("Error in reading file: %s\n", opts.input_path.c_str());
        end_program(1);
    }
    // The output is created empty now (the whole-collection route creates it
    // after reading; the file is the same). One that cannot be created is
    // reported only after the reading, where that route reports it.
    std::optional<Writer> file;
    if (!g_settings.write_to_stdout) file = Writer::open_truncate(opts.output_path);
    const bool writable = g_settings.write_to_stdout || file.has_value();
    Writer* out = file ? &*file : (writable ? &std_out() : nullptr);
    ClearWriter writer(out);
    stream_records(*in, writer);
    if (in->error()) {
        err("Error in reading file: %s\n", opts.input_path.c_str());
        end_program(1);
    }
    err(".\n");
    clear_marks(writer.records());
    g_entry_count = writer.records();

    if (writer.type() == ResidueKind::Protein) {
        // The protein rule: nothing else to neglect in clear mode.
        err("This is a protein sequence.\n");
        err("Output is set to protein sequence.\n");
        opts.output_type = ResidueKind::Protein;
    }
    if (!writable) {
        // truncate_output_file says why; should it now succeed, nothing was written
        // all the same, so the run still fails.
        truncate_output_file(opts.output_path);
        err("Error in opening output file.\n");
        return 1;
    }
    err("Writing sequences...\n");
    for (long i = 0; i < writer.write_errors(); ++i) err("Writing error.\n");
    if (file) {
        if (!file->close()) {
            if (writer.write_errors() == 0) err("Writing error.\n");
            err("Trouble in writing file: %s\n", opts.output_path.c_str());
            err("Error in writing sequence.\n");
            end_program(1);
        }
    } else if (writer.write_errors() > 0 || !std_out().flush()) {
        err("Error in writing sequence.\n");
        end_program(1);
    }
    err("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
