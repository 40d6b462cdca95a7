// One entry written as GenBank and as EMBL text gives the same CDS: the
// first line is "KEY LOCATION", the second a qualifier line, the rest the
// bases; extcds and cdsnuc must write the same files and return the same
// status for both texts.
#include <cstdint>

#include "fuzz_support.hpp"
#include "shell/commands.hpp"
#include "support/feature_entries.hpp"

using namespace kavro;

namespace {

// Printable text only: the builders write one line per item.
std::string printable(std::string_view s) {
    std::string out;
    for (char c : s)
        if (c >= ' ' && c < 0x7F) out += c;
    return out;
}

std::string bases_of(std::string_view s) {
    std::string out;
    for (char c : s) {
        const char u = static_cast<char>(c & ~0x20);
        if (u == 'A' || u == 'C' || u == 'G' || u == 'T' || u == 'N') out += u;
    }
    return out.substr(0, 3000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto [first, rest] = fuzz::split_line(text);
    auto [second, seq] = fuzz::split_line(rest);
    const std::string feature = printable(first);
    const std::size_t space = feature.find(' ');
    if (space == 0 || space == std::string::npos) return 0;

    kavro_test::Entry e;
    e.name = "FUZZ";
    e.features.push_back({feature.substr(0, space), feature.substr(space + 1), {}});
    const std::string qualifier = printable(second);
    if (!qualifier.empty()) e.features[0].qualifiers.push_back(qualifier);
    e.sequence = bases_of(seq);
    if (e.sequence.empty()) return 0;
    e.circular = !second.empty() && second[0] == 'c';

    auto& ws = fuzz::Workspace::get();
    ws.clear();
    ws.write("in.gb", kavro_test::genbank(e));
    ws.write("in.embl", kavro_test::embl(e));
    const std::vector<std::vector<std::string>> jobs = {{"extcds"}, {"cdsnuc", "split"}, {"extrna", "S", "1", "E", "0"}};
    for (const auto& job : jobs) {
        std::string out[2];
        int status[2];
        for (int i = 0; i < 2; ++i) {
            std::vector<std::string> words = {job[0], ws.path(i == 0 ? "in.gb" : "in.embl"), ws.path("out")};
            words.insert(words.end(), job.begin() + 1, job.end());
            const CommandHandler h = job[0] == "extcds" ? cmd_extcds : job[0] == "cdsnuc" ? cmd_cdsnuc : cmd_extrna;
            status[i] = fuzz::run_command(h, words);
            out[i] = ws.read("out");
            unlink(ws.path("out").c_str());
        }
        FUZZ_CHECK(status[0] == status[1], job[0] + ": GenBank and EMBL statuses differ");
        FUZZ_CHECK(out[0] == out[1], job[0] + ": GenBank and EMBL outputs differ:\n" + out[0] + "\n----\n" + out[1]);
    }
    return 0;
}
