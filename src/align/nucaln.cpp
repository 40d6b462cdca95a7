// nucaln: builds the codon alignment that follows a protein alignment. Each
// protein of a CLUSTAL alignment is matched to the DNA of the same name in
// a multi-FASTA file, and its row is written codon by codon, "---" for each
// gap, so the result is a CLUSTAL alignment three times as long.
//
// Names are compared up to their first "=" ("seqA=clone1" matches "seqA");
// the DNA of each name is looked up in an index, the first of equal names
// winning.

#include <string>
#include <unordered_map>

#include "align/alignment_files.hpp"
#include "align/codon_matcher.hpp"
#include "core/console.hpp"
#include "core/file_identity.hpp"
#include "core/program_exit.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "output/output_target.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

// Thresholds tried for one protein: 0.9 down to 0.5 in steps of 0.1, back
// to 0.9 whenever a step made progress.
constexpr double kFirstThreshold = 0.9;
constexpr double kThresholdStep = 0.1;

std::string name_before_equals(const std::string& name) { return name.substr(0, name.find('=')); }

// The codon row of one protein; false after the message when it cannot be
// placed on its DNA.
bool build_codon_row(const SequenceRecord& protein, const SequenceRecord& dna, std::size_t columns,
                     std::string& row) {
    CodonMatch m;
    m.protein = protein.residues;
    m.dna = dna.residues;
    m.capacity = 3 * columns;
    m.codons.reserve(m.capacity);
    double threshold = kFirstThreshold;
    for (;;) {
        const std::size_t before = m.protein_pos;
        if (match_codons(m, kMatchWindow, threshold, kStandardCode) == 0) break;
        threshold = m.protein_pos != before ? kFirstThreshold : threshold - kThresholdStep;
    }
    // Gap columns after the last residue (a DNA without a stop codon, or a
    // translation used up) take no codon: they are gaps in the row too.
    const std::string_view rest = std::string_view(protein.residues).substr(std::min(m.protein_pos, protein.residues.size()));
    if (!rest.empty() && rest.find_first_not_of('-') == std::string_view::npos &&
        m.codons.size() + 3 * rest.size() <= m.capacity)
        for (std::size_t k = 0; k < rest.size(); ++k) m.codons += "---";

    if (m.codons.size() < m.capacity) {
        err("Unable to find matching position for %s.\n", protein.name.c_str());
        err("Length of mseq_out is %ld, while 3 x seqlen1 = %ld.\n", static_cast<long>(m.codons.size()),
            static_cast<long>(m.capacity));
        return false;
    }
    row = std::move(m.codons);
    return true;
}

int build_codon_alignment(const std::string& protein_path, const std::string& dna_path, const std::string& output) {
    const SeqFormat protein_format = detect_format(protein_path);
    const SeqFormat dna_format = detect_format(dna_path);
    if (protein_format == SeqFormat::Error || dna_format == SeqFormat::Error) {
        err("Unknown file format.\n");
        end_program(1);
    }
    if (output_is_input(protein_path, output) || output_is_input(dna_path, output)) return 1;
    if (!OutputTarget::create_empty(output)) {
        err("Error in opening output file.\n");
        return 1;
    }
    if (protein_format != SeqFormat::Clustal || dna_format != SeqFormat::Fasta) {
        err("File formats are not correct.\n");
        return 1;
    }
    out("Reading aa alignment ...\n");
    auto proteins = read_clustal(protein_path, 0);
    if (!proteins || proteins->empty()) {
        err("Error in reading file: %s\n", protein_path.c_str());
        return 1;
    }
    if (classify_residues((*proteins)[0]) != ResidueKind::Protein) {
        err("This is not an amino acid alignment.\n");
        return 1;
    }
    out("Reading nucleic acid sequences...\n");
    auto dnas = read_multi_fasta(dna_path, ResidueKind::Unknown);
    if (!dnas || dnas->empty()) {
        err("Error in reading file: %s\n", dna_path.c_str());
        return 1;
    }
    if (classify_residues((*dnas)[0]) != ResidueKind::Dna) {
        err("These are not DNA sequences.\n");
        return 1;
    }
    if (dnas->size() < proteins->size()) {
        err("Not enough number of sequences in the nucleic acid sequence file.\n");
        return 1;
    }
    std::unordered_map<std::string, std::size_t> dna_by_name;
    dna_by_name.reserve(dnas->size());
    for (std::size_t k = 0; k < dnas->size(); ++k) dna_by_name.emplace(name_before_equals((*dnas)[k].name), k);

    const std::size_t columns = static_cast<std::size_t>(std::max(0L, (*proteins)[0].length));
    Collection rows;
    rows.reserve(proteins->size());
    for (const auto& protein : *proteins) {
        const std::string name = name_before_equals(protein.name);
        const auto found = dna_by_name.find(name);
        if (found == dna_by_name.end()) {
            err("Cannot find a correct nucleic acid sequence for %s.\n", name.c_str());
            return 1;
        }
        SequenceRecord row = copy_record_header(protein);
        if (!build_codon_row(protein, (*dnas)[found->second], columns, row.residues)) return 1;
        row.length = static_cast<long>(row.residues.size());
        rows.push_back(std::move(row));
    }
    out("Writing sequences...\n");
    if (write_alignment(output, rows, AlignmentLayout::Clustal, g_settings.line_length) != 0) {
        err("Error in writing sequence.\n");
        return 1;
    }
    return 0;
}

}  // namespace

int cmd_nucaln(int count, CommandLine& words) {
    if (count == 1) {
        words.set(1, "file1");
        if (!ask_argument(words[1], "アミノ酸配列アラインメントファイル名")) return 1;
        words.set(2, "file2");
        if (!ask_argument(words[2], "核酸配列ファイル名")) return 1;
    }
    if (count == 1 || count == 3) {
        words.set(3, "outfile");
        if (!ask_argument(words[3], "出力ファイル名")) return 1;
    } else if (count != 4 && count != 5) {
        show_help("nucaln");
        return 1;
    }
    // The editing word ("1", "true" or "TRUE": allow C-to-T editing) is
    // accepted; the matching does not read it yet.
    if (build_codon_alignment(words[1], words[2], words[3]) != 0) return 1;
    progress('w');
    out("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
