// Selection words of getent and the tests that decide whether an entry is
// selected by them.

#include "features/getent_options.hpp"

#include <algorithm>
#include <climits>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/text_ops.hpp"
#include "ui/help.hpp"

namespace kavro {

namespace {

// A value ending in "#" selects every name that begins with the rest.
SelectionValue make_value(std::string_view text, std::size_t width) {
    SelectionValue v;
    if (!text.empty() && text.back() == '#') {
        v.prefix = true;
        text.remove_suffix(1);
    }
    v.text.assign(text.substr(0, width));
    return v;
}

// Values of one kind hold no repeats; returns false when the kind is full.
bool add_value(std::vector<SelectionValue>& values, SelectionValue v) {
    for (const auto& old : values)
        if (old.text == v.text && old.prefix == v.prefix) return true;
    if (values.size() >= EntrySelection::kMaxValues) return false;
    values.push_back(std::move(v));
    return true;
}

// OS= and DE= texts lose their surrounding double quotes. Values past the
// tenth of a kind are dropped.
void add_text(std::vector<std::string>& values, std::string_view text) {
    std::string v(text);
    strip_quotes(v);
    v.resize(std::min(v.size(), EntrySelection::kTextWidth));
    if (std::find(values.begin(), values.end(), v) != values.end()) return;
    if (values.size() < EntrySelection::kMaxValues) values.push_back(std::move(v));
}

bool parse_number_range(std::string_view text, EntrySelection& sel) {
    const std::size_t comma = text.find(',');
    const std::string_view first = text.substr(0, comma);
    const std::string_view last = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    if (first.empty() || has_non_digit(first) || first.size() > 18) return false;
    if (last.empty() || ((has_non_digit(last) || last.size() > 18) && last != "last")) return false;
    sel.number_range = true;
    sel.first_number = std::stol(std::string(first));
    sel.last_number = last == "last" ? LONG_MAX : std::stol(std::string(last));
    return true;
}

[[noreturn]] void bad_split(const char* message) {
    err("%s", message);
    end_program(1);
}

long parse_split_count(std::string_view text) {
    if (text.empty() || has_non_digit(text)) bad_split("In the split mode, use number after Split=.\n");
    if (text.size() > 4 || std::stol(std::string(text)) > 1000)
        bad_split("The split number must be less than or equal to 1000.\n");
    const long n = std::stol(std::string(text));
    // Zero files cannot hold the entries (and would divide by zero).
    if (n == 0) bad_split("The split number must be at least 1.\n");
    return n;
}

bool is_token_end(char c) {
    return c == ' ' || c == '|' || c == ';' || c == ':' || c == ',' || c == '(' || c == ')';
}

}  // namespace

SelectionParse parse_selection(int count, const CommandLine& words, EntrySelection& sel) {
    for (int i = 3; i < count; ++i) {
        const std::string_view w = words[i];
        if (w.starts_with("ID=") || w.starts_with("uniID=")) {
            if (w.starts_with("uniID=")) {
                out("Unique mode: only a single sequence is retrieved for each ID.\n");
                sel.unique_ids = true;
            }
            add_value(sel.ids, make_value(w.substr(w.find('=') + 1), EntrySelection::kIdWidth));
            if (sel.ids.size() >= EntrySelection::kMaxValues) break;
        } else if (w.starts_with("AC=")) {
            add_value(sel.accessions, make_value(w.substr(3), EntrySelection::kTextWidth));
            if (sel.accessions.size() >= EntrySelection::kMaxValues) break;
        } else if (w.starts_with("OS=")) {
            add_text(sel.organisms, w.substr(3));
        } else if (w.starts_with("DE=")) {
            add_text(sel.definitions, w.substr(3));
        } else if (w.starts_with("NO=")) {
            if (!parse_number_range(w.substr(3), sel)) {
                err("Check the number.\n");
                show_help("getent");
                return SelectionParse::BadNumber;
            }
            break;
        } else if (w.starts_with("File=") || w.starts_with("Group=")) {
            sel.mode = w[0] == 'F' ? EntrySelection::Mode::List : EntrySelection::Mode::Group;
            sel.list_path = w.substr(w.find('=') + 1);
            break;
        } else if (w.starts_with("Split=")) {
            sel.mode = EntrySelection::Mode::Split;
            sel.split_count = parse_split_count(w.substr(6));
            break;
        } else {
            show_help("getent");
        }
    }
    return sel.empty() ? SelectionParse::Usage : SelectionParse::Ok;
}

bool name_selected(const std::vector<SelectionValue>& ids, std::string_view name) {
    for (const auto& v : ids) {
        if (v.text.empty()) continue;
        if (v.prefix ? name.starts_with(v.text) : name == v.text) return true;
    }
    return false;
}

int header_selection(const std::vector<SelectionValue>& ids, std::string_view header, std::string& name) {
    // "|", "(" and ")" separate words of a header as blanks do.
    std::string words(header);
    for (char& c : words)
        if (c == '|' || c == '(' || c == ')' || c == '\t') c = ' ';
    for (std::size_t k = 0; k < ids.size(); ++k) {
        const std::string& v = ids[k].text;
        if (v.empty()) continue;
        // Every place the value occurs is tried, so that ID=abc still finds
        // the word abc in a header that also holds xabc.
        for (std::size_t at = words.find(v); at != std::string::npos; at = words.find(v, at + 1)) {
            const std::size_t end = at + v.size();
            const bool starts_word = at == 0 || words[at - 1] == ' ';
            const bool ends_word = end == words.size() || words[end] == ' ';
            if (!starts_word || !(ends_word || ids[k].prefix)) continue;
            std::size_t stop = at;
            while (stop < header.size() && !is_token_end(header[stop]) && header[stop] != '\t') ++stop;
            name.assign(header.substr(at, stop - at));
            return static_cast<int>(k);
        }
    }
    return -1;
}

bool accession_selected(const std::vector<SelectionValue>& accessions, std::string_view word) {
    // Without a "#", a value names an accession whatever its version.
    const std::string_view base = word.substr(0, word.find('.'));
    for (const auto& v : accessions) {
        if (v.text.empty()) continue;
        if (v.prefix ? word.starts_with(v.text) : base == v.text) return true;
    }
    return false;
}

}  // namespace kavro
