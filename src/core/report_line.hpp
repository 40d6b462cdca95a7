#pragma once
// Report lines built field by field, each field exactly as printf formats it
// ("%Nld", "%N.Pf", "%c", "%s"), without printf's cost: the reports print
// millions of numbers. std::to_chars with a precision yields printf's digits
// and rounding; the fields are right-aligned in their width as printf does.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/writer.hpp"

namespace kavro {

class ReportLine {
public:
    ReportLine() { buf_.reserve(256); }

    ReportLine& text(std::string_view s) {
        buf_.append(s);
        return *this;
    }
    ReportLine& ch(char c) {
        buf_.push_back(c);
        return *this;
    }
    // "%<width>ld"
    ReportLine& integer(long value, int width) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        return padded(digits, static_cast<std::size_t>(end - digits), width);
    }
    // "%<width>.<precision>f"
    ReportLine& fixed(double value, int width, int precision) {
        char digits[352];  // the longest fixed form of a double with 3 decimals
        std::size_t n;
        if (std::isfinite(value)) {
            const auto end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision).ptr;
            n = static_cast<std::size_t>(end - digits);
        } else {
            n = static_cast<std::size_t>(std::snprintf(digits, sizeof digits, "%.*f", precision, value));
        }
        return padded(digits, n, width);
    }

    std::string_view view() const { return buf_; }
    void clear() { buf_.clear(); }
    // Writes the line and starts a new one.
    void write_to(Writer& out) {
        out.write(buf_);
        buf_.clear();
    }

private:
    ReportLine& padded(const char* s, std::size_t n, int width) {
        if (width > 0 && n < static_cast<std::size_t>(width)) buf_.append(static_cast<std::size_t>(width) - n, ' ');
        buf_.append(s, n);
        return *this;
    }

    std::string buf_;
};

}  // namespace kavro
