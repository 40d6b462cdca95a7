#include "output/output_target.hpp"

#include "core/console.hpp"

namespace kavro {

std::optional<OutputTarget> OutputTarget::open(const std::string& name, Mode mode) {
    return open_to(OutputDestination(name, names_stdout(name)), mode);
}

std::optional<OutputTarget> OutputTarget::open_to(const OutputDestination& destination, Mode mode) {
    const std::string& name = destination.path;
    if (destination.to_stdout) return OutputTarget(name, std::nullopt);
    auto file = mode == Mode::Truncate ? Writer::open_truncate(name) : Writer::open_append(name);
    if (!file) return std::nullopt;
    return OutputTarget(name, std::move(file));
}

bool OutputTarget::create_empty(const OutputDestination& destination) {
    auto target = open_to(destination, Mode::Truncate);
    if (target && target->close()) return true;
    err("Cannot open file: %s\n\n", destination.path.c_str());
    return false;
}

OutputTarget::OutputTarget(OutputTarget&& other) noexcept
    : name_(std::move(other.name_)), file_(std::move(other.file_)), closed_(other.closed_), close_ok_(other.close_ok_) {
    other.closed_ = true;  // the moved-from target owns nothing to close
}

OutputTarget& OutputTarget::operator=(OutputTarget&& other) noexcept {
    if (this != &other) {
        close_and_report();
        name_ = std::move(other.name_);
        file_ = std::move(other.file_);
        closed_ = other.closed_;
        close_ok_ = other.close_ok_;
        other.closed_ = true;
    }
    return *this;
}

OutputTarget::~OutputTarget() { close_and_report(); }

void OutputTarget::close_and_report() {
    if (closed_) return;
    if (close()) return;
    err("Trouble in writing file: %s\n", name_.c_str());
    Writer::count_unchecked_failure();
}

Writer& OutputTarget::writer() { return file_ ? *file_ : std_out(); }

bool OutputTarget::close() {
    if (closed_) return close_ok_;
    closed_ = true;
    close_ok_ = file_ ? file_->close() : std_out().flush();
    return close_ok_;
}

}  // namespace kavro
