#pragma once
// Where a command writes its data: a file, or standard output when the output
// name is "stdout" (or "STDOUT"). Every command that takes an output name
// opens it through this type, writes through writer(), and checks close().

#include <optional>
#include <string>
#include <utility>
#include <string_view>

#include "core/writer.hpp"

namespace kavro {

// Where a command's data go once the command has settled it: the named file,
// or standard output. A name alone means a file; the command that accepts
// "stdout" as an output name says so with to_stdout.
struct OutputDestination {
    OutputDestination(std::string name, bool standard_output = false)
        : path(std::move(name)), to_stdout(standard_output) {}
    OutputDestination(const char* name) : path(name) {}

    std::string path;
    bool to_stdout = false;
};

class OutputTarget {
public:
    enum class Mode {
        Truncate,  // the file is created or emptied
        Append,    // the file is created if missing; writes go to its end
    };

    // True for the names that mean standard output.
    static bool names_stdout(std::string_view name) { return name == "stdout" || name == "STDOUT"; }

    // Opens the target; nothing when a file cannot be opened (errno tells
    // why; the caller writes the message its command uses). Standard output
    // always opens.
    static std::optional<OutputTarget> open(const std::string& name, Mode mode);
    // The same for a destination already settled: standard output when it
    // says so, otherwise the file, whatever its name.
    static std::optional<OutputTarget> open_to(const OutputDestination& destination, Mode mode);

    // Creates the file empty, for writers that then append to it one after
    // another; standard output needs nothing. False after "Cannot open
    // file: %s\n\n".
    [[nodiscard]] static bool create_empty(const OutputDestination& destination);

    OutputTarget(OutputTarget&& other) noexcept;
    OutputTarget& operator=(OutputTarget&& other) noexcept;
    OutputTarget(const OutputTarget&) = delete;
    OutputTarget& operator=(const OutputTarget&) = delete;
    // A target dropped without close() is closed here; a failure then is
    // reported on standard error, so it cannot pass unnoticed.
    ~OutputTarget();

    Writer& writer();
    bool is_stdout() const { return !file_; }
    const std::string& name() const { return name_; }

    // Flushes (standard output) or closes (a file); false if any write or
    // the close failed. Later calls return the first call's result.
    [[nodiscard]] bool close();

private:
    OutputTarget(std::string name, std::optional<Writer> file) : name_(std::move(name)), file_(std::move(file)) {}
    void close_and_report();

    std::string name_;
    std::optional<Writer> file_;  // empty: standard output
    bool closed_ = false;
    bool close_ok_ = true;
};

}  // namespace kavro
