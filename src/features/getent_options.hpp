#pragma once
// getent's selection words (ID=, uniID=, AC=, OS=, DE=, NO=, File=, Group=,
// Split=) and the database path shared by its search and list modes.

#include <string>
#include <string_view>
#include <vector>

#include "ui/command_line.hpp"

namespace kavro {

struct SelectionValue {
    std::string text;
    bool prefix = false;  // written with a trailing "#": the start of a name
};

struct EntrySelection {
    // Room of each kind: at most 10 values, each cut to its width.
    static constexpr std::size_t kMaxValues = 10;
    static constexpr std::size_t kIdWidth = 99;
    static constexpr std::size_t kTextWidth = 29;  // AC, OS and DE values

    enum class Mode { Search, List, Group, Split };

    std::vector<SelectionValue> ids;
    std::vector<SelectionValue> accessions;
    std::vector<std::string> organisms;
    std::vector<std::string> definitions;
    bool unique_ids = false;  // each ID value selects one entry only
    bool number_range = false;
    long first_number = 0;
    long last_number = 0;  // "last" gives the largest long
    Mode mode = Mode::Search;
    std::string list_path;  // File= and Group=
    long split_count = 0;

    bool empty() const {
        return ids.empty() && accessions.empty() && organisms.empty() && definitions.empty() && !number_range &&
               mode == Mode::Search;
    }
};

enum class SelectionParse { Ok, Usage, BadNumber };

// Reads words 3 to count-1 in order. A word of no known form shows the usage
// text and reading goes on. Bad Split= values end the program (status 1).
SelectionParse parse_selection(int count, const CommandLine& words, EntrySelection& sel);

// The search mode's line test for one entry's name (LOCUS or ID line).
bool name_selected(const std::vector<SelectionValue>& ids, std::string_view name);

// FASTA header test: the index of the ID value that stands as a whole word
// of the header (text after ">"), or -1; `name` receives the header's token
// from the match on.
int header_selection(const std::vector<SelectionValue>& ids, std::string_view header, std::string& name);

// Accession test for one word of an accession line.
bool accession_selected(const std::vector<SelectionValue>& accessions, std::string_view word);

}  // namespace kavro
