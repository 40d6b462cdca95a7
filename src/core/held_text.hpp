#pragma once
// Console text held back, in order, for a job that works record by record
// but must print what a whole-file run prints after its reading: messages
// for standard error, and side text (progress marks, announcements) for the
// console's message stream (standard error too while data go to stdout).

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/console.hpp"

namespace kavro {

class HeldText {
public:
    void error(std::string_view text) { add(true, text); }
    void side(std::string_view text) { add(false, text); }

    void print() {
        for (const auto& [to_error, text] : pieces_) {
            if (to_error)
                err("%s", text.c_str());
            else
                out_text(text);
        }
        pieces_.clear();
    }

private:
    void add(bool to_error, std::string_view text) {
        if (text.empty()) return;
        if (!pieces_.empty() && pieces_.back().first == to_error)
            pieces_.back().second.append(text);
        else
            pieces_.emplace_back(to_error, std::string(text));
    }

    std::vector<std::pair<bool, std::string>> pieces_;
};

}  // namespace kavro
