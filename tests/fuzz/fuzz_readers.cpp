// Format detection and every reader on the same bytes: each ends in a
// message or a result whose lengths match its residues; the database walks
// always advance; the streamed multi-FASTA reader gives what the collection
// reader gives.
#include <cstdint>
#include <optional>

#include "fuzz_support.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"

using namespace kavro;

namespace {

void check_record(const SequenceRecord& r) {
    FUZZ_CHECK(r.length == static_cast<long>(r.residues.size()), "length differs from residues of " + r.name);
    FUZZ_CHECK(r.accession.size() <= kAccessionWidth, "accession too wide");
    FUZZ_CHECK(r.molecule.size() <= kMoleculeWidth, "molecule too wide");
}

template <class Read>
void walk(const std::string& path, Read read) {
    auto in = LineReader::open(path);
    if (!in) return;
    std::int64_t pos = 0;
    for (int n = 0; n < 100000; ++n) {
        const std::int64_t before = pos;
        std::optional<SequenceRecord> r;
        try {
            r = read(*in, pos);
        } catch (const ProgramExit&) {
            return;
        }
        if (!r) return;
        check_record(*r);
        FUZZ_CHECK(pos > before, "entry walk did not advance");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& ws = fuzz::Workspace::get();
    ws.write("in", std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string path = ws.path("in");
    const bool form = g_settings.form;
    try {
        (void)detect_format(path);
        for (SeqFormat f : {SeqFormat::Raw, SeqFormat::Fasta, SeqFormat::Nbrf})
            if (auto r = read_sequence(path, f, ResidueKind::Unknown)) check_record(*r);
    } catch (const ProgramExit&) {
    }
    std::optional<Collection> whole;
    try {
        whole = read_multi_fasta(path, ResidueKind::Unknown);
        for (int keep : {0, 1}) {
            if (auto c = read_clustal(path, keep))
                for (const auto& r : *c) check_record(r);
            if (auto c = read_phylip(path, keep))
                for (const auto& r : *c) check_record(r);
        }
    } catch (const ProgramExit&) {
    }
    if (whole) {
        for (const auto& r : *whole) check_record(r);
        // The record-by-record reader: the same records.
        auto in = LineReader::open(path);
        FUZZ_CHECK(in.has_value(), "file vanished");
        std::size_t i = 0;
        std::optional<long> n = stream_multi_fasta(*in, [&](SequenceRecord& r) {
            FUZZ_CHECK(i < whole->size(), "streamed reader gave more records");
            const SequenceRecord& w = (*whole)[i++];
            FUZZ_CHECK(r.name == w.name && r.definition == w.definition, "streamed name differs: " + r.name);
            FUZZ_CHECK(r.residues == w.residues, "streamed residues differ for " + r.name);
            FUZZ_CHECK(r.type == w.type, "streamed type differs for " + r.name);
        });
        if (n) FUZZ_CHECK(static_cast<std::size_t>(*n) == whole->size() && i == whole->size(), "record count differs");
    }
    walk(path, [](LineReader& in, std::int64_t& pos) { return read_genbank_entry(in, pos, ResidueKind::Unknown); });
    walk(path, [](LineReader& in, std::int64_t& pos) { return read_embl_entry(in, pos, ResidueKind::Unknown); });
    walk(path, [](LineReader& in, std::int64_t& pos) { return read_pir_entry(in, pos); });
    FUZZ_CHECK(g_settings.form == form, "a reader changed the form setting");
    static_cast<void>(flush_console());  // only the flush matters here
    return 0;
}
