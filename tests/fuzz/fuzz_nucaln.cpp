// nucaln with a fuzzed pair: a protein alignment and the nucleotide
// records, cut at "\n%%\n"; the first line may hold the editing switch.
// Every row of the written alignment that holds no gap is a stretch of the
// record of its name.
#include <algorithm>
#include <cctype>
#include <cstdint>

#include "fuzz_support.hpp"
#include "input/formats.hpp"
#include "shell/commands.hpp"

using namespace kavro;

namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto [line, rest] = fuzz::split_line(text);
    auto [aln, nuc] = fuzz::split_files(rest);
    std::vector<std::string> args = fuzz::words_of(line, 1);
    auto& ws = fuzz::Workspace::get();
    ws.clear();
    ws.write("aa.aln", aln);
    ws.write("nuc.fa", nuc);
    std::vector<std::string> words = {"nucaln", ws.path("aa.aln"), ws.path("nuc.fa"), ws.path("out.aln")};
    words.insert(words.end(), args.begin(), args.end());
    const int status = fuzz::run_command(cmd_nucaln, words);
    // With C-to-T editing allowed a row may differ from its record.
    if (status != 0 || (!args.empty() && args[0] == "1")) return 0;

    std::optional<Collection> written, records;
    try {
        written = read_clustal(ws.path("out.aln"), 1);
        records = read_multi_fasta(ws.path("nuc.fa"), ResidueKind::Unknown);
    } catch (const ProgramExit&) {
        return 0;
    }
    if (!written || !records) return 0;
    static_cast<void>(flush_console());  // only the flush matters here
    for (const SequenceRecord& row : *written) {
        if (row.residues.empty() || row.residues.find('-') != std::string::npos) continue;
        bool named = false, found = false;
        for (const SequenceRecord& r : *records) {
            if (r.name != row.name) continue;
            named = true;
            found = found || upper(r.residues).find(upper(row.residues)) != std::string::npos;
        }
        FUZZ_CHECK(!named || found, "nucaln row " + row.name + " is no stretch of its record: " + row.residues);
    }
    return 0;
}
