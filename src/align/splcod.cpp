// splcod: splits a codon alignment (CLUSTAL) into three alignments, one per
// codon position: "BASE_1.aln" holds columns 1, 4, 7, ..., "BASE_2.aln"
// columns 2, 5, 8, ... and "BASE_3.aln" columns 3, 6, 9, ..., where BASE is
// the input name without its ".aln".

#include <array>
#include <string>

#include "align/alignment_files.hpp"
#include "core/console.hpp"
#include "core/sequence.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "ui/command_line.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"

namespace kavro {

namespace {

constexpr int kCodonPositions = 3;

// One collection per codon position; every entry is a copy of the input's
// with the residues of that position's columns.
std::array<Collection, kCodonPositions> split_codon_positions(const Collection& seqs) {
    std::array<Collection, kCodonPositions> parts;
    const std::size_t width = seqs.empty() ? 0 : static_cast<std::size_t>(std::max(0L, seqs[0].length));
    for (auto& part : parts) part.reserve(seqs.size());
    for (const auto& rec : seqs) {
        const std::size_t n = std::min(width, rec.residues.size());
        for (std::size_t p = 0; p < kCodonPositions; ++p) {
            SequenceRecord copy = copy_record_header(rec);
            copy.residues.reserve(n / 3 + 1);
            for (std::size_t j = p; j < n; j += kCodonPositions) copy.residues.push_back(rec.residues[j]);
            copy.length = static_cast<long>(copy.residues.size());
            parts[p].push_back(std::move(copy));
        }
    }
    return parts;
}

}  // namespace

int cmd_splcod(int count, CommandLine& words) {
    if (count == 1) {
        words.set(1, "infile");
        if (!ask_argument(words[1], "Input file name")) return 1;
    } else if (count != 2 || words[1] == "help" || words[1] == "-h") {
        show_help("splcod");
        return 1;
    }
    std::string input = words[1];

    out("Reading sequence...\n");
    if (detect_format(input) != SeqFormat::Clustal) {
        err("This is not a CLUSTAL file.\n");
        return 1;
    }
    auto seqs = read_clustal(input, 0);
    if (!seqs) {
        err("Error in reading file: %s\n", input.c_str());
        return 1;
    }
    auto parts = split_codon_positions(*seqs);

    std::string base = input;
    if (ends_with(base, ".aln")) base.resize(base.size() - 4);
    else base = input;
    for (int p = 0; p < kCodonPositions; ++p) {
        const std::string name = base + "_" + std::to_string(p + 1) + ".aln";
        if (write_alignment(name, parts[static_cast<std::size_t>(p)], AlignmentLayout::Clustal, g_settings.line_length) != 0) {
            err("Error in writing sequence.\n");
            return 1;
        }
    }
    out("\nTerminated.\n");
    return 0;
}

}  // namespace kavro
