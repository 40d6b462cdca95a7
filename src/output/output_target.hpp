#pragma once
// Where a command writes its data: a file, or standard output when the output
// name is "stdout" (or "STDOUT"). Every command that takes an output name
// opens it through this type, writes through writer(), and checks close().

#include <optional>
#include <string>
#include <string_view>

#include "core/writer.hpp"

namespace kavro {

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
