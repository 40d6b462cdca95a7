// The feature table of an entry: key lines, their locations (joined over
// continuation lines), the qualifiers that name and describe a feature, its
// translation, and the emission of the finished feature record.

#include <algorithm>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "features/feature_table_state.hpp"
#include "features/gene_names.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using namespace input_detail;
using namespace feature_detail;

namespace {

// A feature name is one word of its definition: every white-space byte in
// it (a blank, a tab, a stray CR) becomes "_".
void make_name_word(std::string& name) {
    for (char& c : name)
        if (is_space(c)) c = '_';
}

}  // namespace

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
        make_name_word(feature_name);
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
                    make_name_word(note);
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
        make_name_word(feature_name);
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
    make_name_word(feature_name);

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

}  // namespace kavro
