// A collection read from the fuzzed file and written by KAVRO as FASTA,
// CLUSTAL and PHYLIP reads back with the same sequences (PHYLIP keeps
// 10-character names, so only the residues are compared there).
#include <cstdint>
#include <optional>

#include "fuzz_support.hpp"
#include "input/formats.hpp"
#include "output/alignment_writer.hpp"
#include "output/fasta_writer.hpp"

using namespace kavro;

namespace {

std::optional<Collection> quietly(std::optional<Collection> (*read)(const std::string&)) {
    try {
        return read(fuzz::Workspace::get().path("in"));
    } catch (const ProgramExit&) {
        return std::nullopt;
    }
}

std::optional<Collection> as_fasta(const std::string& p) { return read_multi_fasta(p, ResidueKind::Unknown); }
std::optional<Collection> as_clustal(const std::string& p) { return read_clustal(p, 1); }
std::optional<Collection> as_phylip(const std::string& p) { return read_phylip(p, 1); }

// The rows an alignment writer can be asked to keep: equal lengths, names
// that are one plain word.
bool plain_alignment(const Collection& c) {
    // A single row written in several blocks reads back as "Only one
    // sequence." (fixture fuzz_roundtrip/clustal_one_row_two_blocks.aln).
    if (c.size() < 2 || c[0].residues.empty()) return false;
    for (const auto& r : c) {
        if (r.residues.size() != c[0].residues.size() || r.name.empty()) return false;
        for (char ch : r.name)
            if (static_cast<unsigned char>(ch) <= ' ' || static_cast<unsigned char>(ch) >= 0x7F) return false;
    }
    return true;
}

// The PHYLIP writer separates the header's numbers by tabs, which the
// reader does not take (a known fault being fixed apart): spaces instead,
// so that the rest of the file is still checked.
void untab_first_line() {
    auto& ws = fuzz::Workspace::get();
    std::string text = ws.read("out");
    for (std::size_t i = 0; i < text.size() && text[i] != '\n'; ++i)
        if (text[i] == '\t') text[i] = ' ';
    ws.write("out", text);
}

// Names are written without their control characters.
std::string printable(const std::string& s) {
    std::string out;
    for (char c : s)
        if (c >= ' ' && c < 0x7F) out += c;
    return out;
}

void expect_same(const Collection& written, const std::optional<Collection>& back, bool names, const char* form) {
    FUZZ_CHECK(back.has_value(), std::string(form) + " written by KAVRO does not read back");
    FUZZ_CHECK(back->size() == written.size(), std::string(form) + " reads back with another record count");
    for (std::size_t i = 0; i < written.size(); ++i) {
        FUZZ_CHECK((*back)[i].residues == written[i].residues,
                   std::string(form) + " residues differ for " + written[i].name);
        if (names)
            FUZZ_CHECK((*back)[i].name == written[i].name, std::string(form) + " name differs: " + written[i].name);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& ws = fuzz::Workspace::get();
    ws.write("in", std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string out = ws.path("out");

    // Records the FASTA writer can keep as they are: a printable name, a
    // definition that does not start with a control character (written
    // without the separator), no ";" or ">" residue (one that a line break
    // puts first on a line reads back as a comment or a header: reported
    // apart, fixture fuzz_roundtrip/fasta_semicolon_residue.fa).
    auto line_start_marks = [](const Collection& c) {
        for (const auto& r : c) {
            const std::string& def = r.definition;
            if (r.residues.find_first_of(";>") != std::string::npos || r.name.empty() || printable(r.name) != r.name ||
                (!def.empty() && static_cast<unsigned char>(def[0]) < ' ' && def[0] != '\n'))
                return true;
        }
        return false;
    };
    if (auto c = quietly(as_fasta); c && !c->empty() && !line_start_marks(*c)) {
        unlink(out.c_str());
        bool written = true;
        for (auto& r : *c) written = written && write_fasta_file(out, &r, true, ' ', g_settings.line_length) == 0;
        if (written) expect_same(*c, as_fasta(out), true, "FASTA");
    }
    for (auto read : {as_clustal, as_phylip}) {
        auto c = quietly(read);
        if (!c || !plain_alignment(*c)) continue;
        unlink(out.c_str());
        if (write_clustal_file(out, &*c) == 0) expect_same(*c, as_clustal(out), true, "CLUSTAL");
        unlink(out.c_str());
        // The PHYLIP reader takes at least 2 rows of at least 11 columns.
        if (c->size() >= 2 && c->front().residues.size() >= 11 && write_phylip_file(out, &*c) == 0) {
            untab_first_line();
            expect_same(*c, as_phylip(out), false, "PHYLIP");
        }
    }
    static_cast<void>(flush_console());  // only the flush matters here
    return 0;
}
