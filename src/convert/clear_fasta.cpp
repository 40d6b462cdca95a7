// Clear mode on a FASTA file, streamed. A multi-FASTA file is walked with the
// collection reader's walk (input/fasta_walk.hpp). Each record is finished
// when the next header arrives, cleared, checked against the kind of the
// collection (its first record with residues) and written at once.
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
#include "input/fasta_walk.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "output/fasta_writer.hpp"

namespace kavro {

namespace {

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

void append_letters(std::string& out, std::string_view text) {
    // The common residue line, letters and its line end, is copied and
    // checked in one pass that vectorises: clearing the case bit (0x20)
    // upper-cases a letter, and the line end is dropped. A line with any
    // other byte is done again through the table.
    std::string_view body = text;
    if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
    const std::size_t old = out.size();
    out.resize(old + body.size());
    {
        auto* dst = reinterpret_cast<unsigned char*>(out.data() + old);
        const auto* src = reinterpret_cast<const unsigned char*>(body.data());
        unsigned char bad = 0;
        for (std::size_t i = 0; i < body.size(); ++i) {
            const unsigned char c = src[i];
            bad |= static_cast<unsigned char>(static_cast<unsigned char>((c | 0x20) - 'a') > 25);
            dst[i] = static_cast<unsigned char>(c & ~0x20);
        }
        if (bad == 0) return;
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

// The entry name from a header piece without its ">" (the multi-FASTA rule).
// True when the text after the name (the definition) ends the line: the
// residues start on the next line. A header of blanks alone has no text
// after its (empty) name, so the line that follows is still header.
bool take_name(std::string& name, std::string_view rest) {
    const FastaHeader header = split_fasta_header(rest);
    name.assign(header.name);
    return !header.definition.empty() && rest.back() == '\n';
}

// The clearing marks, written after the reading ends as the whole-collection
// route writes them: "\b." for records 0, 10, 20, ..., then a line end. They
// go where the data does not.
void clear_marks(long records) {
    std::string marks;
    for (long i = 0; i < records; i += kClearMarkEvery) marks += "\b.";
    out_text(marks);
    out_text("\n");
}

class ClearWriter {
public:
    // Without an output the records are only counted and classified.
    explicit ClearWriter(Writer* out) : out_(out) {}

    // Clears, classifies and writes one finished record.
    void finish(SequenceRecord& rec) {
        rec.length = static_cast<long>(rec.residues.size());
        const ResidueKind kind = classify_letters(rec.residues);
        // The collection's kind is the kind of the first record with residues.
        if (!typed_ && rec.length > 0) {
            type_ = kind;
            typed_ = true;
        }
        ++records_;
        if (records_ % kReadDotEvery == 0) err(".");
        // Records of another kind, and empty ones, are left out, each named.
        if (!left_out_.keep(rec, kind, type_) || out_ == nullptr) return;
        write_entry(*out_, rec);
        // A failed output stops the run; it is reported after "Writing sequences...".
        if (out_->failed()) write_failed_ = true;
    }

    long records() const { return records_; }
    ResidueKind type() const { return type_; }
    bool write_failed() const { return write_failed_; }
    const LeftOutRecords& left_out() const { return left_out_; }

private:
    // The FASTA layout of the writers for a record of letters and a name
    // alone: ">" and the name as the writers give it, residue lines of
    // the line length, one empty line after the last one (two after a full
    // last line).
    static void write_entry(Writer& out, const SequenceRecord& rec) {
        out.put('>');
        write_fasta_name(out, rec.name);
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
    bool write_failed_ = false;
    bool typed_ = false;
    ResidueKind type_ = ResidueKind::Unknown;
    LeftOutRecords left_out_;
};

}  // namespace

ResidueKind classify_letters(std::string_view letters) { return classify_text(letters); }

bool LeftOutRecords::keep(const SequenceRecord& rec, ResidueKind kind, ResidueKind type) {
    if (rec.length > 0 && kind == type) return true;
    ++count_;
    if (rec.length == 0)
        err("Left out, no residues: %s\n", rec.name.c_str());
    else
        err("Left out, %s among %s records: %s\n", type_name(kind), type_name(type), rec.name.c_str());
    return false;
}

void LeftOutRecords::summary() const {
    if (count_ > 0) err("%ld record%s left out.\n", count_, count_ == 1 ? "" : "s");
}

namespace {

// One pass over the FASTA text: records finished as their next header arrives.
// Keeps the name and the letters of each record, drops definitions and
// comments, and hands every finished record to the writer.
class ClearRecords {
public:
    explicit ClearRecords(ClearWriter& writer) : writer_(writer) {}

    bool begin(std::string_view header) {
        rec_.residues.clear();
        return take_name(rec_.name, header);
    }
    void definition(std::string_view) {}
    void residues_start() {}
    void residues(std::string_view piece) { append_letters(rec_.residues, piece); }
    void take_clean_lines(LineReader&) {}
    void finish(bool) { writer_.finish(rec_); }
    // A failed output ends the reading: it is reported once.
    bool stopped() const { return writer_.write_failed(); }

private:
    ClearWriter& writer_;
    SequenceRecord rec_;  // reused: its buffers keep their room from record to record
};

void stream_records(LineReader& in, ClearWriter& writer) {
    ClearRecords records(writer);
    walk_fasta_records(in, records);
}

}  // namespace

int clear_fasta_stream(TofastOptions& opts) {
    err("This is a FASTA file.\n");
    err("Reading sequences...\n");
    std::optional<LineReader> in = open_input(opts.input_path);
    if (!in) {
        err("Error in reading file: %s\n", opts.input_path.c_str());
        end_program(1);
    }
    // The output is created empty now (the whole-collection route creates it
    // after reading; the file is the same). One that cannot be created is
    // reported only after the reading, where that route reports it.
    std::optional<OutputTarget> target = OutputTarget::open_to(opts.output(), OutputTarget::Mode::Truncate);
    const bool writable = target.has_value();
    ClearWriter writer(target ? &target->writer() : nullptr);
    stream_records(*in, writer);
    if (!in->finish()) {
        err("Error in reading file: %s\n", opts.input_path.c_str());
        end_program(1);
    }
    err(".\n");
    writer.left_out().summary();
    clear_marks(writer.records());

    if (writer.type() == ResidueKind::Protein) {
        // The protein rule: nothing else to neglect in clear mode.
        err("This is a protein sequence.\n");
        err("Output is set to protein sequence.\n");
        opts.output_type = ResidueKind::Protein;
    }
    if (!writable) {
        // Opening it again says why; should it now succeed, nothing was
        // written all the same, so the run still fails.
        static_cast<void>(OutputTarget::create_empty(opts.output()));
        err("Error in opening output file.\n");
        return 1;
    }
    err("Writing sequences...\n");
    // A failed write is reported once; reading stopped there.
    if (writer.write_failed()) err("Writing error.\n");
    if (!target->is_stdout()) {
        if (!target->close()) {
            if (!writer.write_failed()) err("Writing error.\n");
            err("Trouble in writing file: %s\n", opts.output_path.c_str());
            err("Error in writing sequence.\n");
            end_program(1);
        }
    } else if (writer.write_failed() || !target->close()) {
        err("Error in writing sequence.\n");
        end_program(1);
    }
    err("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
