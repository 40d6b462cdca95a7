#include "output/output_detail.hpp"

#include <algorithm>

#include "core/console.hpp"

namespace kavro::output_detail {

std::size_t write_printable(Writer& out, std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t written = 0;
    while (p < end) {
        const char* q = p;
        while (q < end && printable(*q)) ++q;
        if (q > p) {
            out.write(p, static_cast<std::size_t>(q - p));
            written += static_cast<std::size_t>(q - p);
        }
        while (q < end && !printable(*q)) ++q;
        p = q;
    }
    return written;
}

void write_name_field(Writer& out, std::string_view name, std::size_t name_width, std::size_t field_width) {
    std::size_t used = 0;
    const char* p = name.data();
    const char* const end = p + name.size();
    while (p < end && used < name_width) {
        const char* q = p;
        while (q < end && name_byte(*q) && used + static_cast<std::size_t>(q - p) < name_width) ++q;
        if (q > p) {
            out.write(p, static_cast<std::size_t>(q - p));
            used += static_cast<std::size_t>(q - p);
        }
        while (q < end && !name_byte(*q)) ++q;
        p = q;
    }
    static constexpr std::string_view kBlanks = "                                ";
    for (std::size_t left = field_width > used ? field_width - used : 0; left > 0;) {
        std::size_t n = std::min(left, kBlanks.size());
        out.write(kBlanks.substr(0, n));
        left -= n;
    }
}

std::size_t collection_count(const Collection* seqs) { return seqs ? seqs->size() : 0; }

std::vector<std::string> row_names(const Collection& seqs, std::size_t count, std::size_t cut) {
    std::vector<std::string> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string name;
        for (char c : seqs[i].name) {
            if (cut != 0 && name.size() == cut) break;
            if (name_byte(c)) name.push_back(c);
        }
        if (name.empty()) {
            name = ("unnamed_" + std::to_string(i + 1)).substr(0, cut != 0 ? cut : std::string::npos);
            err("Entry %ld has no name: written as %s.\n", static_cast<long>(i + 1), name.c_str());
        }
        names.push_back(std::move(name));
    }
    return names;
}


int empty_collection() {
    err("Empty sequence.\n");
    return 1;
}

int check_written(Writer& out) {
    if (!out.failed()) return 0;
    err("Writing error.\n");
    return 2;
}

int finish_written(Writer& out) {
    out.flush();
    return check_written(out);
}

int write_alignment_file(const std::string& path, Collection* seqs, long name_width, const AlignmentWriter& write) {
    if (collection_count(seqs) == 0) return empty_collection();
    auto file = Writer::open_truncate(path);
    if (!file) {
        err("Cannot open file: %s\n", path.c_str());
        return 1;
    }
    int result = write(*file, seqs, name_width);
    // A close that fails loses what was written: a failed write.
    if (!file->close() && result == 0) {
        err("Writing error.\n");
        result = 2;
    }
    if (result != 0) {
        err("Trouble in writing file: %s\n", path.c_str());
        return result;
    }
    progress('w');
    return 0;
}

}  // namespace kavro::output_detail
