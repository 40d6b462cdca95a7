// The feature-table reader. An entry runs from its first line ("LOCUS " in
// GenBank, "ID " in EMBL) to its end line "//". On the way the reader notes
// the entry's accession and organism, follows the feature table with a small
// state machine (looking for a key line, reading qualifiers, reading
// translation text) and, when features of the requested kind were found,
// collects the entry's own sequence from the ORIGIN or SQ block.
//
// A feature ends at the closing quote of its /translation, at the next key
// line, at the end of the table or at the end line; whichever comes first,
// it is emitted then, so a CDS without /translation (pseudogenes, EMBL
// entries that carry none) never swallows the features after it.

#include "features/feature_table.hpp"

#include <algorithm>
#include <new>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "features/feature_table_state.hpp"
#include "input/formats.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using namespace input_detail;
using namespace feature_detail;

bool extract_mode_from_code(int code, ExtractMode& mode) {
    switch (code) {
        case 0: case 2: case 3: case 4: case 5:
            mode = static_cast<ExtractMode>(code);
            return true;
        default:
            return false;
    }
}

std::string make_location_string(std::string_view location_text) {
    std::string text(location_text);
    const bool joined = text.starts_with("join") || text.starts_with("complement(join");
    const long segments = joined ? count_char(text, ',') + 1 : 1;
    remove_spaces(text);
    blank_punctuation(text, "_:<>");
    std::string result = std::to_string(segments) + " " + text;
    trim_right(result);
    return result;
}
void FeatureTableReader::State::parse_first_line(std::string_view line) {
    circular = line.find("circular") != std::string_view::npos;
    std::string rest(drop_prefix(line, genbank ? 6 : 3));
    trim_right(rest);
    std::string_view name, length_word;
    std::vector<std::string_view> w;
    if (genbank) {
        w = split_words(rest, 5);
        name = w[0];
        length_word = w[1];
        molecule.assign(w[3] == "circular" ? w[4] : w[3]);
        if (w[2] == "aa") molecule = "PRT";
    } else {
        replace_char(rest, ';', ' ');
        w = split_words(rest, 12);
        name = w[0];
        if (w[1] == "SV") {
            // ID name; SV version; topology; molecule; class; division; length BP.
            std::size_t m = 4;
            if (w[4] == "genomic" || w[4] == "other" || w[4] == "unassigned") m = 5;
            molecule.assign(w[m]);
            length_word = w[m + 3];
        } else if (circular) {
            molecule.assign(w[3]);
            length_word = w[5];
        } else {
            molecule.assign(w[2]);
            length_word = w[4];
        }
        if (molecule.find("DNA") != std::string::npos)
            molecule = "DNA";
        else if (molecule.find("RNA") != std::string::npos)
            molecule = "RNA";
    }
    if (name.size() > kEntryNameWidth) {
        err("\nFile format is strange. But we continue.\n");
        err("%s\n", std::string(without_line_end(line)).c_str());
        name = name.substr(0, kEntryNameWidth);
    }
    entry.name.assign(name);
    tail_string(molecule, 3);
    reader.header_length_ = all_digits(length_word) ? digits_value(length_word, kInt32Max) : 0;
    if (reader.format_ != SeqFormat::GenbankProtein && molecule != "DNA" && molecule != "RNA") {
        err("\nFile format is strange. But we continue by assuming data type is DNA.\n");
        err("%s\n", std::string(without_line_end(line)).c_str());
        molecule = "DNA";
    }
    entry.set_molecule(molecule);
}

void FeatureTableReader::State::parse_entry_line(std::string_view line) {
    if (line.starts_with("ACCESSION ") || line.starts_with("AC ")) {
        std::string rest(drop_prefix(line, line[1] == 'C' && line[2] == ' ' ? 3 : 10));
        replace_char(rest, ';', ' ');
        entry.set_accession(split_words(rest, 1)[0]);
    } else {
        std::string rest(drop_prefix(line, line[0] == 'O' ? 3 : 11));
        auto w = split_words(rest, 2);
        std::string second(w[1]);
        replace_char(second, ';', ' ');
        std::string organism = std::string(w[0]) + " " + second;
        trim_right(organism);
        entry.set_organism(organism);
    }
}
void FeatureTableReader::State::start_sequence() {
    if (open) finish_feature();
    in_table = false;
    sequence_started = true;
    entry.residues.clear();
    reading_sequence = !protein && !features.empty();
    if (reading_sequence) reserve_hint(entry.residues, std::min<std::int64_t>(reader.header_length_, in.remaining_hint()));
}

void FeatureTableReader::State::read_sequence_lines(std::string_view line) {
    for (char c : line) {
        if (is_alpha(c)) entry.residues.push_back(to_upper(c));
    }
}

// Moves past whole lines of the read buffer up to the next line that starts
// with "//", when the residues are not wanted. Called at a line start.
void FeatureTableReader::State::skip_sequence_lines() {
    std::string_view buf = in.buffered();
    if (buf.size() < 3 || buf.starts_with("//")) return;
    const std::size_t end = buf.find("\n//");
    if (end != std::string_view::npos) {
        in.skip(end + 1);
        return;
    }
    const std::size_t last = buf.rfind('\n');
    if (last != std::string_view::npos) in.skip(last + 1);
}

// Translation text makes up most of a feature table. Its middle lines have
// one layout: the qualifier indent (21 blanks, or "FT" and 19 blanks) and
// then upper-case letters up to the newline, one piece each. Such lines are
// taken straight from the read buffer, up to the first line that is not
// (the closing one with its quote, or anything else), which goes the usual
// way. Called at a line start.
void FeatureTableReader::State::take_translation_lines() {
    const std::string_view buf = in.buffered();
    std::size_t at = 0;
    for (;;) {
        const std::string_view rest = buf.substr(at);
        if (rest.size() <= kQualifierColumn) break;
        const bool indented = genbank ? blanks(rest, 0, kQualifierColumn)
                                      : rest.starts_with("FT") && blanks(rest, 2, kQualifierColumn - 2);
        if (!indented) break;
        const std::size_t limit = std::min(rest.size(), LineReader::kPiece);
        std::size_t i = kQualifierColumn;
        unsigned char outside = 0;
        while (i < limit && rest[i] != '\n') outside |= static_cast<unsigned char>(rest[i++] - 'A') > 25;
        if (i >= limit || outside || i == kQualifierColumn) break;
        if (protein) residues.append(rest.data() + kQualifierColumn, i - kQualifierColumn);
        at += i + 1;
    }
    in.skip(at);
}

FeatureTableReader::FeatureTableReader(LineReader& in, SeqFormat format, FeatureOptions options)
    : in_(in), format_(format), options_(options) {}

ReadOutcome FeatureTableReader::read(SequenceRecord& entry, Collection& features, std::int64_t& position,
                                     ExtractMode mode) {
    end_line_seen_ = false;
    features.clear();
    if (format_ != SeqFormat::Genbank && format_ != SeqFormat::GenbankProtein && format_ != SeqFormat::Embl)
        return ReadOutcome::Failed;
    if (!seek_entry(in_, position)) return ReadOutcome::Failed;
    // Every entry starts from nothing: no value of the entry before it
    // (accession, organism, residues) is carried over.
    entry = SequenceRecord{};
    header_length_ = 0;

    const std::string_view keyword = format_ == SeqFormat::Embl ? "ID " : "LOCUS ";
    const ResidueLines layout = format_ == SeqFormat::Embl ? ResidueLines::Embl : ResidueLines::GenBank;
    try {
        State s(*this, entry, features, mode);
        std::string_view line;
        bool found = false;
        while (in_.read_piece(line, LineReader::kPiece)) {
            if (line.starts_with(keyword)) {
                found = true;
                break;
            }
        }
        if (!found) return ReadOutcome::EndOfInput;
        s.parse_first_line(line);
        s.at_line_start = line.ends_with("\n");
        for (;;) {
            if (s.at_line_start && !s.has_pending) {
                if (s.reading_sequence)
                    in_.skip(append_clean_residue_lines(entry.residues, in_.buffered(), layout));
                else if (s.sequence_started)
                    s.skip_sequence_lines();
                else if (s.phase == State::Phase::Translation && s.in_translation_text)
                    s.take_translation_lines();
            }
            if (!s.next_piece(line)) break;
            if (s.line_start && line.starts_with("//")) {
                s.finish_feature();
                end_line_seen_ = true;
                break;
            }
            if (s.sequence_started) {
                if (s.reading_sequence) s.read_sequence_lines(line);
                continue;
            }
            if (s.line_start && (line.starts_with("ACCESSION ") || line.starts_with("AC "))) {
                s.parse_entry_line(line);
                continue;
            }
            if (s.line_start && (line.starts_with("  ORGANISM ") || line.starts_with("OS "))) {
                s.parse_entry_line(line);
                continue;
            }
            if (s.genbank) {
                if (line.starts_with("FEATURES ")) {
                    s.in_table = true;
                    continue;
                }
                if (s.line_start && line.starts_with("ORIGIN")) {
                    s.start_sequence();
                    continue;
                }
            } else {
                if (line.starts_with("FH   Key")) {
                    s.in_table = true;
                    continue;
                }
                if (line.starts_with("FH")) continue;
                if (s.line_start && line.starts_with("SQ ")) {
                    s.start_sequence();
                    continue;
                }
            }
            if (s.in_table && !s.feature_line(line)) return ReadOutcome::Failed;
        }
        if (!end_line_seen_) return ReadOutcome::MissingEndLine;

        if (s.reading_sequence) {
            entry.length = static_cast<long>(entry.residues.size());
            if (entry.length != header_length_) {
                err("Sequence length is %ld in the header of file,\n", header_length_);
                err("but %ld bases were read.\n", entry.length);
            }
            entry.type = s.molecule == "DNA" ? ResidueKind::Dna : s.molecule == "RNA" ? ResidueKind::Rna
                                                        : s.molecule == "PRT" ? ResidueKind::Protein
                                                                              : ResidueKind::Unknown;
            entry.circular = s.circular ? 1 : 0;
        }
        entry.length = entry.residues.empty() ? header_length_ : static_cast<long>(entry.residues.size());
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return ReadOutcome::Failed;
    }
    position = in_.tell();
    return ReadOutcome::Entry;
}

}  // namespace kavro
