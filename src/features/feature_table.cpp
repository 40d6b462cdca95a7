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
#include "features/gene_names.hpp"
#include "input/formats.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using namespace input_detail;

namespace {

// Widths of the feature and entry values; longer texts are cut.
constexpr std::size_t kEntryNameWidth = 15;
constexpr std::size_t kFeatureNameWidth = 103;
constexpr std::size_t kDescriptionWidth = 511;
constexpr std::size_t kNoteWidth = 103;
constexpr std::size_t kLocusTagWidth = 99;
// Qualifier and location text starts in column 22.
constexpr std::size_t kQualifierColumn = 21;

void cut(std::string& text, std::size_t width) {
    if (text.size() > width) text.resize(width);
}

std::string unquoted(std::string_view text) {
    std::string s(text);
    trim_right(s);
    strip_quotes(s);
    return s;
}

bool blanks(std::string_view line, std::size_t from, std::size_t n) {
    if (line.size() < from + n) return false;
    for (std::size_t i = from; i < from + n; ++i)
        if (line[i] != ' ') return false;
    return true;
}

// Drops the line end and trailing blanks.
std::string_view without_line_end(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    return line;
}

void append_letters(std::string& out, std::string_view text) {
    for (char c : text) {
        if (is_alpha(c)) out.push_back(to_upper(c));
    }
}

}  // namespace

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
    reader.header_length_ = all_digits(length_word) ? digits_value(length_word) : 0;
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

bool FeatureTableReader::State::is_key_line(std::string_view line) const {
    if (!line_start || line.size() < 6) return false;
    if (genbank) {
        if (line[0] != ' ' && line[0] != '\n') return true;  // BASE COUNT, CONTIG and the like
        return blanks(line, 0, 5) && line[5] != ' ' && line[5] != '\n';
    }
    return line.starts_with("FT   ") && line[5] != ' ' && line[5] != '\n';
}

bool FeatureTableReader::State::feature_line(std::string_view line) {
    if (open && is_key_line(line)) finish_feature();
    bool reprocess = true;
    while (reprocess) {
        reprocess = false;
        switch (phase) {
            case Phase::LookingForKey:
                return key_line(line);
            case Phase::Qualifiers:
                if (!genbank && line.starts_with("XX")) return true;
                if (rna && !blanks(line, 0, 18) && !(line.starts_with("FT") && blanks(line, 2, 16))) {
                    std::string_view text;
                    if (!qualifier_text(line, text)) return false;
                    if (!text.starts_with("/")) {
                        finish_feature();
                        reprocess = true;
                        break;
                    }
                }
                return qualifier_line(line);
            case Phase::ProductText:
                product_text_line(line, reprocess);
                break;
            case Phase::Translation:
                return translation_line(line);
        }
    }
    return true;
}

bool FeatureTableReader::State::key_line(std::string_view line) {
    if (!genbank && line.starts_with("XX")) return true;
    // Qualifier lines (blank in columns 6 to 8) are passed over at once;
    // in EMBL only after their "FT" has been seen.
    const bool qualifier_columns = line.size() > 9 && line.substr(5, 3) == "   ";
    if (qualifier_columns && (genbank || line.starts_with("FT "))) return true;
    std::string_view key, where;
    auto w = split_words(line, 3);
    if (genbank) {
        key = w[0];
        where = w[1];
    } else {
        if (w[0] != "FT") {
            err("\nNo FT tag in EMBL file:%s.\n", std::string(w[0]).c_str());
            return false;
        }
        key = w[1];
        where = w[2];
    }
    if (where.empty() || key.starts_with("/")) return true;
    if (line.size() > 9 && line.substr(5, 3) == "   ") return true;
    const bool mrna = key == "mRNA";
    const bool taken = rna ? (key == "tRNA" || key == "rRNA" || key == "snRNA") : (key == "CDS" || mrna);
    if (!taken) return true;

    std::string raw(without_line_end(line));
    if (raw.find("join") != std::string::npos && !raw.ends_with(")")) {
        // A joined location wraps over continuation lines; their words are
        // collected up to the one that closes it.
        std::string_view next;
        while (next_piece(next)) {
            if (!line_start || !is_continuation(next)) {
                // Not part of the location: looked at as any other line.
                pending.assign(next);
                has_pending = true;
                line_start = true;
                break;
            }
            auto words = split_words(next, 2);
            std::string word(genbank ? words[0] : words[1]);
            if (word.ends_with(")")) {
                replace_char(word, ')', ' ');
                trim_right(word);
                raw += " " + word;
                break;
            }
            raw += " " + word;
        }
    }
    if (mrna) return true;  // read and dropped
    location = make_location_string(drop_prefix(raw, kQualifierColumn));
    if (no_locations || (protein && !reader.options_.locations_in_protein_mode)) location.clear();
    open = true;
    phase = Phase::Qualifiers;
    return true;
}

bool FeatureTableReader::State::qualifier_text(std::string_view line, std::string_view& text) {
    if (genbank) {
        text = line;
    } else {
        std::size_t pos = 0;
        if (next_word(line, &pos) != "FT") {
            err("\nNo FT tag in EMBL file.\n");
            return false;
        }
        text = line.substr(pos);
    }
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    text = without_line_end(text);
    return true;
}

bool FeatureTableReader::State::qualifier_line(std::string_view line) {
    if (!genbank && line.starts_with("XX")) return true;
    std::string_view text;
    if (!qualifier_text(line, text)) return false;
    if (text.starts_with("/gene=")) {
        feature_name = unquoted(text.substr(6));
        replace_char(feature_name, ' ', '_');
        cut(feature_name, kFeatureNameWidth);
        gene_seen = true;
    } else if (text.starts_with("/product=")) {
        description = unquoted(text.substr(9));
        cut(description, kDescriptionWidth);
        if (text.size() > 9 && text.back() == '"' && text.substr(9) != "\"") {
            end_of_product();
        } else {
            phase = Phase::ProductText;
        }
    } else if (text.starts_with("/note=")) {
        note = unquoted(text.substr(6));
        if (note.starts_with("Citation") || note.starts_with("unnamed")) {
            note.clear();
        } else if (note.starts_with("locus_tag: ") || note.starts_with("ORF_ID:")) {
            locus_tag = note.substr(note[0] == 'l' ? 11 : 7);
            cut(locus_tag, kLocusTagWidth);
            note.clear();
        }
        cut(note, kNoteWidth);
        if (pseudo_pending) {
            pseudo_pending = false;
            phase = Phase::Translation;
        }
    } else if (text.starts_with("/locus_tag=")) {
        locus_tag = unquoted(text.substr(11));
        cut(locus_tag, kLocusTagWidth);
    } else if (text.starts_with("/pseudo")) {
        residues = "*";
        if (gene_seen) {
            feature_name += "_pseudo";
            cut(feature_name, kFeatureNameWidth);
            phase = Phase::Translation;
        } else {
            feature_name = "pseudo";
            pseudo_pending = true;
        }
    } else if (!rna && text.starts_with("/translation=")) {
        residues.clear();
        phase = Phase::Translation;
        return translation_line(line);
    }
    return true;
}

void FeatureTableReader::State::product_text_line(std::string_view line, bool& reprocess) {
    if (line_start && !is_continuation(line)) {
        // The product ended without its closing quote: the line is looked
        // at again in the phase that follows.
        end_of_product();
        reprocess = true;
        return;
    }
    std::string part(without_line_end(drop_prefix(line, kQualifierColumn)));
    const bool last = part.ends_with("\"");
    if (last) {
        replace_char(part, '"', ' ');
        trim_right(part);
    }
    description += " " + part;
    const bool full = description.size() >= kDescriptionWidth;
    cut(description, kDescriptionWidth);
    if (last || full) end_of_product();
}

void FeatureTableReader::State::end_of_product() {
    phase = Phase::Qualifiers;
    if (rna && reader.format_ == SeqFormat::Genbank) {
        finish_feature();
        return;
    }
    if (pseudo_pending) {
        pseudo_pending = false;
        phase = Phase::Translation;
    }
}

bool FeatureTableReader::State::translation_line(std::string_view line) {
    if (!genbank && line.starts_with("XX")) return true;
    std::string_view text;
    if (!qualifier_text(line, text)) return false;
    std::size_t pos = 0;
    std::string_view word = next_word(text, &pos);
    if (word.starts_with("/translation=")) {
        residues.clear();
        in_translation_text = true;
        word.remove_prefix(14 <= word.size() ? 14 : word.size());
    } else if (!in_translation_text) {
        // After /pseudo: other qualifiers are passed over until a
        // /translation starts or the next key line ends the feature.
        return true;
    }
    const bool last = word.ends_with("\"");
    if (protein) append_letters(residues, word);
    if (last) finish_feature();
    return true;
}

void FeatureTableReader::State::finish_feature() {
    if (!open) return;
    const std::string& organism = entry.organism;
    description += "; ";
    description += organism;
    if (!organism.ends_with(";")) description += ";";
    cut(description, kDescriptionWidth);
    const std::string& accession = entry.accession;
    if (!accession.empty() && description.size() + accession.size() < 492) {
        description += "; AC=" + accession + "; ";
    }

    if (rna) {
        if (feature_name.empty() || feature_name == "RNA") {
            feature_name = trna_name(description);
            if (feature_name.empty()) {
                if (note.empty()) {
                    feature_name = "RNA";
                } else {
                    replace_char(note, ' ', '_');
                    if (note.size() < 16) {
                        feature_name = note;
                    } else {
                        feature_name = note.substr(0, 15);
                        const std::size_t room = description.size() < 510 ? 510 - description.size() : 0;
                        description += note.substr(0, room);
                    }
                }
            }
        }
    } else {
        if (!gene_seen && locus_tag.empty()) {
            auto guess = guess_gene_name(std::string_view(description).substr(0, description.find(';')));
            if (!guess) guess = guess_gene_name(std::string_view(note).substr(0, note.find(';')));
            if (guess) feature_name = *guess;
        }
        const std::size_t comma = feature_name.find(',');
        if (comma != std::string::npos) {
            std::string rest = feature_name.substr(comma + 1);
            if (rest.starts_with(" ")) rest.erase(0, 1);
            feature_name.resize(comma);
            description = rest + " " + description;
        }
        replace_char(feature_name, ' ', '_');
    }
    if (!locus_tag.empty()) {
        if (locus_tag.find(feature_name) != std::string::npos) {
            feature_name = locus_tag;
        } else if (feature_name.find(locus_tag) != std::string::npos) {
            // the name already holds the tag
        } else if (!rna && feature_name == "orf") {
            feature_name = locus_tag;
        } else {
            feature_name = locus_tag + "=" + feature_name;
        }
        cut(feature_name, kFeatureNameWidth);
    }

    SequenceRecord rec;
    rec.type = ResidueKind::Protein;
    rec.name = entry.name;
    rec.accession = entry.accession;
    rec.organism = entry.organism;
    rec.residues = std::move(residues);
    rec.length = rna ? 0 : static_cast<long>(rec.residues.size());
    rec.definition.reserve(feature_name.size() + location.size() + description.size() + 2);
    rec.definition = feature_name;
    rec.definition += ' ';
    rec.definition += location;
    rec.definition += ' ';
    rec.definition += description;
    features.push_back(std::move(rec));
    const std::size_t count = features.size();
    if (reader.options_.progress_marks && count % 10 == 0) progress(count % 20 == 0 ? '-' : '|');
    reset_feature();
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
    FormGuard form_guard;
    g_settings.form = false;

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
        g_settings.form = s.circular;
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
    g_entry_count = static_cast<long>(features.size());
    position = in_.tell();
    return ReadOutcome::Entry;
}

}  // namespace kavro
