#pragma once
// The passes of txtr. A byte pass turns the input into the output one byte at
// a time; each is a small state machine fed in chunks, so it works the same
// whatever the chunk boundaries are and tests can feed it strings directly.
// The file drivers open the files, print the progress dots and end the
// program when a file cannot be opened.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavro::txtr {

// The scratch file of the chained operations, in the current directory.
inline constexpr char kTempFile[] = "tmpfil.zan";
// A run of digits after a blank longer than this is kept (and reported).
inline constexpr std::size_t kMaxHeldDigits = 30;
// The empty-line pass reads pieces of this size; every tenth piece is a dot.
inline constexpr std::size_t kEmptyLinePiece = 2045;
// The line-range copy counts pieces of this size as lines.
inline constexpr std::size_t kRangePiece = 511;
// Re-flow width used for a requested width below 2.
inline constexpr long kDefaultFlowWidth = 75;
// A byte pass prints one dot per this many input bytes.
inline constexpr long kBytesPerDot = 100;

class BytePass {
public:
    virtual ~BytePass() = default;
    // Appends the output for `in` to `out`.
    virtual void feed(std::string_view in, std::string& out) = 0;
    // Appends whatever is still held back at the end of the input.
    virtual void finish(std::string& /*out*/) {}
    // Offsets (within the last chunk fed) of bytes that started a run of
    // digits too long to be removed; the driver reports each in place.
    std::vector<std::size_t> long_runs;
};

// Drops every byte equal to `drop`; with `replace` set, writes it instead.
class ReplaceCharPass : public BytePass {
public:
    explicit ReplaceCharPass(char drop, char replace = '\0') : drop_(drop), replace_(replace) {}
    void feed(std::string_view in, std::string& out) override;

private:
    char drop_, replace_;
};

// Writes the input unchanged.
class CopyPass : public BytePass {
public:
    void feed(std::string_view in, std::string& out) override { out.append(in); }
};

class CasePass : public BytePass {
public:
    explicit CasePass(bool to_upper) : upper_(to_upper) {}
    void feed(std::string_view in, std::string& out) override;

private:
    bool upper_;
};

// Removes runs of digits that stand alone between blanks (line numbers and
// position counts of pasted sequence text).
class RemoveNumbersPass : public BytePass {
public:
    void feed(std::string_view in, std::string& out) override;
    void finish(std::string& /*out*/) override { held_.clear(); }

private:
    enum class Mode { Normal, Holding, Long };
    Mode mode_ = Mode::Normal;
    bool after_space_ = true;  // the start of the file counts as a blank
    std::string held_;
};

// Lower-cases everything and writes it in lines of a fixed width.
class ReflowPass : public BytePass {
public:
    explicit ReflowPass(long width) : width_(width < 2 ? kDefaultFlowWidth : width) {}
    void feed(std::string_view in, std::string& out) override;
    void finish(std::string& out) override;
    long width() const { return width_; }

private:
    long width_;
    long column_ = 0;
};

// Every CR LF, LF CR, lone CR and lone LF becomes one "\n".
class LineEndPass : public BytePass {
public:
    void feed(std::string_view in, std::string& out) override;
    void finish(std::string& out) override;

private:
    char pending_ = '\0';
};

// Runs a byte pass from one file into another, printing a dot for every
// hundredth byte and "\n" at the end. A file that cannot be opened or
// written ends the program with status 1.
void run_byte_pass(const std::string& input, const std::string& output, BytePass& pass);

// Copies the lines that hold something other than blanks, tabs and line
// ends. Same failure handling as run_byte_pass.
void remove_empty_lines(const std::string& input, const std::string& output);

// Copies lines first..last (counted from 1). 0, or 1 when a file cannot be
// opened.
[[nodiscard]] int copy_line_range(const std::string& input, const std::string& output, long first, long last);

}  // namespace kavro::txtr
