#include "textutil/txtr_passes.hpp"

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/text_ops.hpp"
#include "core/writer.hpp"
#include "input/line_reader.hpp"
#include "ui/file_copy.hpp"

namespace kavro::txtr {

namespace {

// Byte passes read the input in chunks of this size (or up to a line end).
constexpr std::size_t kChunk = 1 << 16;

bool is_line_end(char c) { return c == '\n' || c == '\r'; }
bool is_blank_or_line_end(char c) { return c == ' ' || c == '\t' || is_line_end(c); }
// Visible characters (codes 33 to 126) other than digits.
bool is_visible(char c) { return c > 32 && c < 127; }

LineReader open_input_or_exit(const std::string& path) {
    auto in = LineReader::open(path);
    if (!in) {
        out("Cannot open file: %s\n\n", path.c_str());
        end_program(1);
    }
    return std::move(*in);
}

Writer open_output_or_exit(const std::string& path) {
    auto w = Writer::open_truncate(path);
    if (!w) {
        out("Cannot open file: %s\n\n", path.c_str());
        end_program(1);
    }
    return std::move(*w);
}

void close_or_exit(Writer& w, LineReader& in, const std::string& input, const std::string& output) {
    if (!in.finish()) {
        err("Error in reading file: %s\n", input.c_str());
        end_program(1);
    }
    if (!w.close()) {
        err("Trouble in writing file: %s\n", output.c_str());
        end_program(1);
    }
}

void print_dots(long long count) {
    if (count > 0) out_text(std::string(static_cast<std::size_t>(count), '.'));
}

}  // namespace

void ReplaceCharPass::feed(std::string_view in, std::string& out) {
    for (char c : in) {
        if (c != drop_)
            out.push_back(c);
        else if (replace_ != '\0')
            out.push_back(replace_);
    }
}

void CasePass::feed(std::string_view in, std::string& out) {
    for (char c : in) out.push_back(upper_ ? to_upper(c) : to_lower(c));
}

void RemoveNumbersPass::feed(std::string_view in, std::string& out) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        char c = in[i];
        if (is_digit(c)) {
            if (mode_ == Mode::Holding) {
                if (held_.size() < kMaxHeldDigits) {
                    held_.push_back(c);
                } else {
                    long_runs.push_back(i);
                    out.append(held_);
                    out.push_back(c);
                    held_.clear();
                    mode_ = Mode::Long;
                }
            } else if (mode_ == Mode::Normal && after_space_) {
                mode_ = Mode::Holding;
                held_.assign(1, c);
            } else {
                out.push_back(c);  // part of a word such as "A12", or a long run
            }
            after_space_ = false;
            continue;
        }
        if (mode_ == Mode::Holding && is_visible(c)) out.append(held_);  // "12a": not a number alone
        held_.clear();
        mode_ = Mode::Normal;
        after_space_ = !is_visible(c);
        out.push_back(c);
    }
}

void ReflowPass::feed(std::string_view in, std::string& out) {
    for (char c : in) {
        if (is_line_end(c)) continue;
        out.push_back(is_print(c) ? to_lower(c) : ' ');
        if (++column_ == width_) {
            out.push_back('\n');
            column_ = 0;
        }
    }
}

void ReflowPass::finish(std::string& out) {
    if (column_ > 0) out.push_back('\n');
    column_ = 0;
}

void LineEndPass::feed(std::string_view in, std::string& out) {
    for (char c : in) {
        if (is_line_end(c)) {
            if (pending_ == '\0') {
                pending_ = c;
            } else {
                out.push_back('\n');
                // CR LF and LF CR are one line end; CR CR and LF LF keep the
                // second one waiting for its partner.
                pending_ = pending_ == c ? c : '\0';
            }
            continue;
        }
        if (pending_ != '\0') {
            out.push_back('\n');
            pending_ = '\0';
        }
        out.push_back(c);
    }
}

void LineEndPass::finish(std::string& out) {
    if (pending_ != '\0') out.push_back('\n');
    pending_ = '\0';
}

void run_byte_pass(const std::string& input, const std::string& output, BytePass& pass) {
    LineReader in = open_input_or_exit(input);
    Writer w = open_output_or_exit(output);
    std::string buf, scratch;
    long long count = 0;
    std::string_view chunk;
    while (in.read_piece(chunk, kChunk)) {
        // Every byte of the file goes through the pass, CRs included.
        chunk = piece_as_in_file(in, chunk, scratch);
        buf.clear();
        pass.long_runs.clear();
        pass.feed(chunk, buf);
        long long done = count;  // bytes whose dot has been printed
        for (std::size_t at : pass.long_runs) {
            long long upto = count + static_cast<long long>(at) + 1;
            print_dots(upto / kBytesPerDot - done / kBytesPerDot);
            done = upto;
            out("\nThere is a long stretch of numbers,\n");
            out("which cannot be removed automatically.\n");
        }
        count += static_cast<long long>(chunk.size());
        print_dots(count / kBytesPerDot - done / kBytesPerDot);
        flush_out();
        w.write(buf);
    }
    buf.clear();
    pass.finish(buf);
    w.write(buf);
    out("\n");
    close_or_exit(w, in, input, output);
}

void remove_empty_lines(const std::string& input, const std::string& output) {
    LineReader in = open_input_or_exit(input);
    Writer w = open_output_or_exit(output);
    // A line is judged whole: its pieces wait until one shows a visible
    // character (or the line ends blank and is dropped), so a long line is
    // never cut and a short last line is never lost.
    std::string blank_start, scratch;
    bool has_content = false;
    long pieces = 0;
    std::string_view piece;
    while (in.read_piece(piece, kEmptyLinePiece)) {
        piece = piece_as_in_file(in, piece, scratch);
        if (++pieces % 10 == 0) {
            out(".");
            flush_out();
        }
        if (!has_content) {
            for (char c : piece) {
                if (!is_blank_or_line_end(c)) {
                    has_content = true;
                    break;
                }
            }
            if (has_content) {
                w.write(blank_start);
                blank_start.clear();
            }
        }
        if (has_content)
            w.write(piece);
        else
            blank_start.append(piece);
        if (piece.back() == '\n') {
            blank_start.clear();
            has_content = false;
        }
    }
    out("\n");
    close_or_exit(w, in, input, output);
}

int copy_line_range(const std::string& input, const std::string& output, long first, long last) {
    out("Copying text file from line %ld to %ld ...\n", first, last);
    auto in = open_input(input);
    if (!in) {
        return 1;
    }
    auto w = Writer::open_truncate(output);
    if (!w) {
        err("Cannot open file: %s\n\n", output.c_str());
        return 1;
    }
    long line = 0;
    std::string_view piece;
    std::string scratch;
    while (line < last && in->read_piece(piece, kRangePiece)) {
        ++line;
        if (line >= first) w->write(piece_as_in_file(*in, piece, scratch));
    }
    if (!in->finish()) {
        err("Error in reading file: %s\n", input.c_str());
        return 1;
    }
    long next = line + 1;
    if (next < first || next < last)
        err("There are %ld lines in the file %s. Check start and end parameters.\n", line, input.c_str());
    if (!w->close()) {
        err("Trouble in writing file: %s\n", output.c_str());
        return 1;
    }
    return 0;
}

}  // namespace kavro::txtr
