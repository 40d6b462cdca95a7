#pragma once
// The working state of one call of the feature-table reader, shared by the
// file that walks the entry (feature_table.cpp) and the file that reads the
// feature table itself (feature_qualifiers.cpp). Not for use elsewhere.

#include <string>
#include <string_view>

#include "core/text_ops.hpp"
#include "features/feature_table.hpp"

namespace kavro {

namespace feature_detail {

// Widths of the feature values; longer texts are cut. Entry names share the
// readers' width (kEntryNameWidth), so long modern names stay whole.
constexpr std::size_t kFeatureNameWidth = 103;
constexpr std::size_t kDescriptionWidth = 511;
constexpr std::size_t kNoteWidth = 103;
constexpr std::size_t kLocusTagWidth = 99;
// Qualifier and location text starts in column 22.
constexpr std::size_t kQualifierColumn = 21;

inline void cut(std::string& text, std::size_t width) {
    if (text.size() > width) text.resize(width);
}

inline std::string unquoted(std::string_view text) {
    std::string s(text);
    trim_right(s);
    strip_quotes(s);
    return s;
}

inline bool blanks(std::string_view line, std::size_t from, std::size_t n) {
    if (line.size() < from + n) return false;
    for (std::size_t i = from; i < from + n; ++i)
        if (line[i] != ' ') return false;
    return true;
}

// Drops the line end and trailing blanks.
inline std::string_view without_line_end(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    return line;
}

inline void append_letters(std::string& out, std::string_view text) {
    for (char c : text) {
        if (is_alpha(c)) out.push_back(to_upper(c));
    }
}

}  // namespace feature_detail

struct FeatureTableReader::State {
    enum class Phase { LookingForKey, Qualifiers, ProductText, Translation };

    FeatureTableReader& reader;
    LineReader& in;
    SequenceRecord& entry;
    Collection& features;
    bool genbank;
    bool rna = false;
    bool protein = false;
    bool no_locations = false;

    // Entry values.
    std::string molecule;
    bool circular = false;
    bool in_table = false;
    bool sequence_started = false;
    bool reading_sequence = false;
    bool line_start = true;     // the piece being looked at begins a line
    bool at_line_start = true;  // the next piece begins a line
    // A line read ahead that belongs to the caller's loop (the line after a
    // joined location that did not continue it).
    std::string pending;
    bool has_pending = false;

    // The feature being read.
    bool open = false;
    Phase phase = Phase::LookingForKey;
    bool in_translation_text = false;
    bool gene_seen = false;
    bool pseudo_pending = false;
    std::string feature_name, description, note, locus_tag, location, residues;

    State(FeatureTableReader& r, SequenceRecord& e, Collection& f, ExtractMode mode)
        : reader(r), in(r.in_), entry(e), features(f), genbank(r.format_ != SeqFormat::Embl) {
        if (mode == ExtractMode::RnaWithoutLocations || mode == ExtractMode::ProteinWithoutLocations)
            no_locations = true;
        rna = mode == ExtractMode::Rna || mode == ExtractMode::RnaWithoutLocations;
        protein = mode == ExtractMode::Protein || mode == ExtractMode::ProteinWithoutLocations;
        reset_feature();
    }

    void reset_feature() {
        open = false;
        phase = Phase::LookingForKey;
        in_translation_text = false;
        gene_seen = pseudo_pending = false;
        feature_name = rna ? "RNA" : "orf";
        description.clear();
        note.clear();
        locus_tag.clear();
        location.clear();
        residues.clear();
    }

    bool next_piece(std::string_view& piece) {
        if (has_pending) {
            has_pending = false;
            piece = pending;
            line_start = true;
            at_line_start = piece.ends_with("\n");
            return true;
        }
        if (!in.read_piece(piece, LineReader::kPiece)) return false;
        line_start = at_line_start;
        at_line_start = piece.ends_with("\n");
        return true;
    }

    void parse_first_line(std::string_view line);
    void parse_entry_line(std::string_view line);
    // False when the call must fail (a message was written).
    bool feature_line(std::string_view line);
    bool key_line(std::string_view line);
    bool qualifier_line(std::string_view line);
    void product_text_line(std::string_view line, bool& reprocess);
    void end_of_product();
    bool translation_line(std::string_view line);
    // The qualifier text of a line: GenBank the whole line, EMBL the rest
    // after "FT"; false for an EMBL line without "FT" (after the message).
    bool qualifier_text(std::string_view line, std::string_view& text);
    bool is_key_line(std::string_view line) const;
    bool is_continuation(std::string_view line) const {
        using feature_detail::blanks;
        using feature_detail::kQualifierColumn;
        const bool indented = genbank ? blanks(line, 0, kQualifierColumn)
                                      : line.starts_with("FT") && blanks(line, 2, kQualifierColumn - 2);
        return indented && (line.size() <= kQualifierColumn || line[kQualifierColumn] != '/');
    }
    void finish_feature();
    void start_sequence();
    void read_sequence_lines(std::string_view line);
    void skip_sequence_lines();
    void take_translation_lines();
};

}  // namespace kavro
