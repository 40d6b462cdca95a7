// FASTA output. An entry is ">" name [separator definition] "\n", the
// residues broken into lines of the given line length, then two line ends:
// one empty line after the last residue line, or two when the residue count
// is a multiple of the line length.

#include "output/fasta_writer.hpp"

#include <algorithm>
#include <cstring>

#include "core/console.hpp"
#include "output/output_detail.hpp"

namespace kavro {

using output_detail::printable;
using output_detail::write_printable;

namespace {

// The header of a record whose name has no byte to write.
constexpr std::string_view kUnnamed = "unnamed";

// The definition: printable characters as they are; a newline becomes ";"
// (unless the whole definition is that one character); the rest is skipped.
void write_definition(Writer& out, std::string_view def) {
    const bool newline_as_semicolon = def.size() > 1;
    const char* p = def.data();
    const char* const end = p + def.size();
    while (p < end) {
        const char* q = p;
        while (q < end && printable(*q)) ++q;
        if (q > p) out.write(p, static_cast<std::size_t>(q - p));
        if (q < end) {
            if (*q == '\n' && newline_as_semicolon) out.put(';');
            ++q;
        }
        p = q;
    }
}

// True when every byte of s[0, n) is printable (0x20-0x7E). Written without
// branches so that the compiler turns it into vector code.
bool all_printable(const char* s, std::size_t n) {
    unsigned char bad = 0;
    for (std::size_t i = 0; i < n; ++i) bad |= static_cast<unsigned char>(s[i] - 0x20) > 0x5E;
    return bad == 0;
}

// A text of printable characters in lines of `line` characters, each full
// line followed by its line end. The lines collect with their line ends in a
// small buffer that leaves in one write when full.
void write_clean_lines(Writer& out, std::string_view text, std::size_t line) {
    constexpr std::size_t kChunk = 16384;
    const std::size_t n = text.size();
    std::size_t j = 0;
    if (line < kChunk) {
        char chunk[kChunk];
        std::size_t k = 0;
        for (; j + line <= n; j += line) {
            if (k + line + 1 > kChunk) {
                out.write(chunk, k);
                k = 0;
            }
            std::memcpy(chunk + k, text.data() + j, line);
            chunk[k + line] = '\n';
            k += line + 1;
        }
        out.write(chunk, k);
    }
    for (; j + line <= n; j += line) {
        out.write(text.data() + j, line);
        out.put('\n');
    }
    out.write(text.data() + j, n - j);
}

// Walks the residues by index j. A printable character is written and
// counted; a line end follows every index j with j + 1 a multiple of the line
// length, whatever the character there was. A newline residue is written (at
// a break the line end is that newline), counted and replaced by "-"; other
// characters are skipped.
//
// A line whose characters are all printable is therefore written whole, with
// its line end when it is a full line; a line holding anything else goes
// through the walk character run by character run.
long write_residues(Writer& out, std::string& res, std::size_t line) {
    const std::size_t n = res.size();
    if (all_printable(res.data(), n)) {
        // The usual case, tested once for the whole text.
        write_clean_lines(out, res, line);
        return static_cast<long>(n);
    }
    long count = 0;
    for (std::size_t j = 0; j < n;) {
        const std::size_t line_end = j + line;  // j is a multiple of line
        const std::size_t stop = std::min(line_end, n);
        if (all_printable(res.data() + j, stop - j)) {
            out.write(res.data() + j, stop - j);
            if (stop == line_end) out.put('\n');
            count += static_cast<long>(stop - j);
            j = stop;
            continue;
        }
        while (j < stop) {
            std::size_t k = j;
            while (k < stop && printable(res[k])) ++k;
            if (k > j) {
                out.write(res.data() + j, k - j);
                count += static_cast<long>(k - j);
            }
            if (k == stop) {
                if (stop == line_end) out.put('\n');
                j = stop;
                break;
            }
            if (k + 1 == line_end) {
                // The line end stands for a newline residue that falls on it:
                // it is still counted and replaced, or the count falls short.
                out.put('\n');
                if (res[k] == '\n') {
                    ++count;
                    res[k] = '-';
                }
            } else if (res[k] == '\n') {
                out.put('\n');
                ++count;
                res[k] = '-';
            }
            j = k + 1;
        }
    }
    return count;
}

int writing_error() {
    err("Writing error.\n");
    return 2;
}

}  // namespace

void write_fasta_name(Writer& out, std::string_view name) {
    std::size_t named = 0;
    const char* p = name.data();
    const char* const end = p + name.size();
    while (p < end) {
        const char* q = p;
        while (q < end && output_detail::name_byte(*q)) ++q;
        out.write(p, static_cast<std::size_t>(q - p));
        named += static_cast<std::size_t>(q - p);
        while (q < end && !output_detail::name_byte(*q)) ++q;
        p = q;
    }
    if (named == 0) out.write(kUnnamed);
}

int write_fasta_entry_quietly(Writer& out, SequenceRecord& rec, bool with_definition, char separator,
                              int line_length) {
    out.put('>');
    write_fasta_name(out, rec.name);
    if (with_definition) {
        const char first = rec.definition.empty() ? '\0' : rec.definition.front();
        // A leading newline written as ";" (comment lines after a bare
        // header) still takes the separator: the name must not run on.
        const bool leading_semicolon = first == '\n' && rec.definition.size() > 1;
        if (leading_semicolon || (first != ' ' && first != '\0' && first != '\n' && first != '\r'))
            out.put(separator);
        write_definition(out, rec.definition);
    }
    out.put('\n');

    const std::size_t line = static_cast<std::size_t>(std::max(line_length, 1));
    const long count = write_residues(out, rec.residues, line);
    if (out.failed()) return 2;
    if (count != rec.length) return 3;
    out.write("\n\n");
    // No flush per entry: the buffer leaves in large blocks, and a write
    // that fails later is caught by the next entry or by close().
    return out.failed() ? 2 : 0;
}

int write_fasta_entry(Writer& out, SequenceRecord* rec, bool with_definition, char separator, int line_length) {
    if (!rec) {
        err("Empty sequence.\n");
        return 1;
    }
    const int result = write_fasta_entry_quietly(out, *rec, with_definition, separator, line_length);
    if (result == 2) return writing_error();
    if (result == 3) err("Error in sequence length.\n");
    return result;
}

int write_fasta_file(const std::string& path, SequenceRecord* rec, bool with_definition, char separator,
                     int line_length) {
    if (!rec) {
        err("Empty sequence.\n");
        return 1;
    }
    auto file = Writer::open_append(path);
    if (!file) {
        err("Cannot open file: %s\n", path.c_str());
        return 1;
    }
    int result = write_fasta_entry(*file, rec, with_definition, separator, line_length);
    // A close that fails loses what was written: a failed write.
    if (!file->close() && result == 0) result = writing_error();
    if (result != 0) {
        err("Trouble in writing file: %s\n", path.c_str());
        return result;
    }
    progress('w');
    return 0;
}

int write_fasta_batch(Writer& out, Collection& batch, long minimum, long maximum, int line_length) {
    // Both limits negative: mark long N and Q runs, thresholds -minimum and
    // -maximum. Otherwise one non-zero limit filters by length.
    const bool masking = minimum < 0 && maximum < 0;
    const bool min_filter = !masking && minimum != 0 && maximum == 0;
    const bool max_filter = !masking && minimum == 0 && maximum != 0;
    int status = 0;
    for (SequenceRecord& rec : batch) {
        if (rec.length == 0 || rec.residues.empty()) continue;
        if (min_filter && rec.length < minimum) continue;
        if (max_filter && rec.length > maximum) continue;
        if (masking) {
            mask_long_runs(rec.residues, -minimum, -maximum);
            rec.length = static_cast<long>(rec.residues.size());
        }
        // An entry that fails says so and fails the batch; a failed output is
        // reported once (by the entry), and the batch stops.
        if (write_fasta_entry(out, &rec, true, '_', line_length) != 0) {
            status = 1;
            if (out.failed()) break;
        }
    }
    return status;
}

namespace {

// Closes a batch file; a failure anywhere on it makes the write a failure.
int finish_batch_file(Writer& file, const std::string& path) {
    const bool reported = file.failed();  // each failed entry already said so
    if (file.close()) return 0;
    if (!reported) err("Writing error.\n");
    err("Trouble in writing file: %s\n", path.c_str());
    return 1;
}

}  // namespace

int write_fasta_batch_file(const OutputDestination& destination, Collection& batch, long minimum, long maximum,
                           int line_length) {
    auto target = OutputTarget::open_to(destination, OutputTarget::Mode::Append);
    if (!target) {
        err("Cannot open file: %s\n\n", destination.path.c_str());
        return 1;
    }
    const int status = write_fasta_batch(target->writer(), batch, minimum, maximum, line_length);
    const bool reported = target->writer().failed();  // each failed entry already said so
    // Standard output is flushed: the data must have left before the run
    // can say it is done.
    if (target->close()) return status;
    if (!reported) err("Writing error.\n");
    if (!target->is_stdout()) err("Trouble in writing file: %s\n", destination.path.c_str());
    return 1;
}

int write_fasta_all(const OutputDestination& destination, Collection& batch, int line_length) {
    return write_fasta_batch_file(destination, batch, 0, 0, line_length);
}

int write_fasta_range(Writer& out, Collection& batch, long first, long end, int line_length) {
    const long count = static_cast<long>(batch.size());
    end = std::min(end, count);
    int status = 0;
    for (long i = std::max(first, 0L); i < end; ++i)
        if (write_fasta_entry(out, &batch[static_cast<std::size_t>(i)], true, '_', line_length) != 0) {
            status = 1;
            if (out.failed()) break;
        }
    return status;
}

int write_fasta_range_file(const std::string& path, Collection& batch, long first, long end, int line_length) {
    auto file = Writer::open_append(path);
    if (!file) {
        err("Cannot open file: %s\n\n", path.c_str());
        return 1;
    }
    const int status = write_fasta_range(*file, batch, first, end, line_length);
    return finish_batch_file(*file, path) != 0 ? 1 : status;
}

}  // namespace kavro
