#pragma once
// Where lower-level code sends its console lines: standard error at once
// (the default), or the end of a text its caller prints later, so that a
// job working record by record can print them in the order a whole-file
// run would. Passed by value; a held sink must not outlive its text.

#include <string>
#include <string_view>

#include "core/console.hpp"

namespace kavro {

class MessageSink {
public:
    MessageSink() = default;
    explicit MessageSink(std::string& held) : held_(&held) {}

    void operator()(std::string_view text) const {
        if (held_ != nullptr)
            held_->append(text);
        else
            err("%.*s", static_cast<int>(text.size()), text.data());
    }

private:
    std::string* held_ = nullptr;
};

}  // namespace kavro
