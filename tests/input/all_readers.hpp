#pragma once
// Every reader behind one call, for the suites that feed the same inputs to
// all of them (shared edge cases, fuzzing). Each run checks the invariants
// every result must keep and walks entry files to their end.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings.hpp"
#include "input/formats.hpp"

namespace input_test {

enum class Reader { Detect, Raw, Fasta, Nbrf, MultiFasta, Clustal, Phylip, GenBank, Embl, Pir };

inline const std::vector<Reader>& all_readers() {
    static const std::vector<Reader> r = {Reader::Detect, Reader::Raw,     Reader::Fasta,   Reader::Nbrf,
                                          Reader::MultiFasta, Reader::Clustal, Reader::Phylip, Reader::GenBank,
                                          Reader::Embl,   Reader::Pir};
    return r;
}

inline const char* reader_name(Reader r) {
    switch (r) {
        case Reader::Detect: return "Detect";
        case Reader::Raw: return "Raw";
        case Reader::Fasta: return "Fasta";
        case Reader::Nbrf: return "Nbrf";
        case Reader::MultiFasta: return "MultiFasta";
        case Reader::Clustal: return "Clustal";
        case Reader::Phylip: return "Phylip";
        case Reader::GenBank: return "GenBank";
        case Reader::Embl: return "Embl";
        case Reader::Pir: return "Pir";
    }
    return "?";
}

struct Outcome {
    bool ok = false;                 // a record or a collection came back
    kavro::SeqFormat code = kavro::SeqFormat::Error;                   // detect_format's answer
    std::vector<std::string> names;  // of every record read
    std::vector<std::string> residues;
};

inline void check_record(const kavro::SequenceRecord& r, Outcome& o) {
    EXPECT_EQ(r.length, static_cast<long>(r.residues.size()));
    EXPECT_LE(r.accession.size(), kavro::kAccessionWidth);
    EXPECT_LE(r.molecule.size(), kavro::kMoleculeWidth);
    EXPECT_GE(static_cast<int>(r.type), 0);
    EXPECT_LE(static_cast<int>(r.type), 3);
    o.names.push_back(r.name);
    o.residues.push_back(r.residues);
}

// Runs one reader over the file. The form setting must come back unchanged.
inline Outcome run_reader(Reader reader, const std::string& path) {
    using namespace kavro;
    Outcome o;
    const bool form_before = g_settings.form;
    switch (reader) {
        case Reader::Detect: o.code = detect_format(path); o.ok = o.code != SeqFormat::Error; break;
        case Reader::Raw:
        case Reader::Fasta:
        case Reader::Nbrf: {
            SeqFormat format = reader == Reader::Raw ? SeqFormat::Raw : reader == Reader::Fasta ? SeqFormat::Fasta : SeqFormat::Nbrf;
            auto r = read_sequence(path, format, ResidueKind::Unknown);
            if (r) {
                o.ok = true;
                check_record(*r, o);
            }
            break;
        }
        case Reader::MultiFasta:
        case Reader::Clustal:
        case Reader::Phylip: {
            std::optional<Collection> c = reader == Reader::MultiFasta ? read_multi_fasta(path, ResidueKind::Unknown)
                                          : reader == Reader::Clustal  ? read_clustal(path, 0)
                                                                       : read_phylip(path, 0);
            if (c) {
                o.ok = true;
                for (const auto& r : *c) check_record(r, o);
            }
            break;
        }
        case Reader::GenBank:
        case Reader::Embl:
        case Reader::Pir: {
            auto in = LineReader::open(path);
            if (!in) break;
            std::int64_t pos = 0;
            for (;;) {
                std::int64_t before = pos;
                auto r = reader == Reader::GenBank ? read_genbank_entry(*in, pos, kavro::ResidueKind::Unknown)
                         : reader == Reader::Embl  ? read_embl_entry(*in, pos, kavro::ResidueKind::Unknown)
                                                   : read_pir_entry(*in, pos);
                if (!r) break;
                o.ok = true;
                check_record(*r, o);
                // Every entry moves the walk forward, so it always ends.
                if (pos <= before) {
                    ADD_FAILURE() << "entry walk did not advance at " << pos;
                    break;
                }
            }
            break;
        }
    }
    EXPECT_EQ(g_settings.form, form_before);
    return o;
}

}  // namespace input_test
