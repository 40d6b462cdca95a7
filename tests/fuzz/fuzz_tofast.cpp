// tofast with fuzzed options: the streamed route (input to another file)
// and the collection route (the file rewritten in place) must give the same
// status, the same bytes on both console streams and, on success, the same
// file. First line: the option words; the rest: the input file.
#include <algorithm>
#include <cstdint>

#include "fuzz_support.hpp"
#include "input/formats.hpp"
#include "shell/commands.hpp"

using namespace kavro;

namespace {

struct Outcome {
    int status = -1;
    std::string out, err, file;
};

void replace_all(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::vector<std::string> sorted_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    lines.push_back(text.substr(start));
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Runs tofast with fds 1 and 2 sent to files of the work directory.
Outcome tofast(const std::string& in, const std::string& out, const std::vector<std::string>& options,
               const Settings& settings) {
    auto& ws = fuzz::Workspace::get();
    std::vector<std::string> words = {"tofast", ws.path(in), ws.path(out)};
    words.insert(words.end(), options.begin(), options.end());
    static_cast<void>(flush_console());  // only the flush matters here
    const int saved_out = dup(1), saved_err = dup(2);
    const int fd_out = open(ws.path("console.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int fd_err = open(ws.path("console.err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd_out, 1);
    dup2(fd_err, 2);
    close(fd_out);
    close(fd_err);
    Outcome o;
    o.status = fuzz::run_command(cmd_tofast, words, &settings);
    dup2(saved_out, 1);
    dup2(saved_err, 2);
    close(saved_out);
    close(saved_err);
    o.out = ws.read("console.out");
    o.err = ws.read("console.err");
    for (std::string* t : {&o.out, &o.err}) {
        replace_all(*t, ws.path(in), "FILE");
        replace_all(*t, ws.path(out), "FILE");
    }
    o.file = ws.read(out);
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto [line, file] = fuzz::split_line(text);
    std::vector<std::string> options = fuzz::words_of(line, 8);
    const Settings settings = fuzz::settings_from(options);
    // "stdout" as the output is another route altogether.
    for (const std::string& w : options)
        if (w == "stdout" || w == "STDOUT") return 0;
    auto& ws = fuzz::Workspace::get();
    // Messages are compared with the file names blanked out: a text that
    // holds the work directory's name itself cannot be.
    if (text.find(ws.dir()) != std::string_view::npos) return 0;
    ws.clear();
    ws.write("in.fa", file);
    ws.write("io.fa", file);
    // Only FASTA input has the two routes; other formats are read whole.
    if (detect_format(ws.path("in.fa")) != SeqFormat::Fasta) return 0;
    const Outcome streamed = tofast("in.fa", "out.fa", options, settings);
    const Outcome whole = tofast("io.fa", "io.fa", options, settings);
    FUZZ_CHECK(streamed.status == whole.status, "statuses differ: " + std::to_string(streamed.status) + " streamed, " +
                                                    std::to_string(whole.status) + " whole");
    // Clear mode (no option) names the records it leaves out while reading
    // on the streamed route and while writing on the other (reported apart,
    // fixture fuzz_tofast/clear_mode_left_out_order): there the same lines
    // in any order.
    const bool clear_mode = options.empty();
    // A codon-table file that cannot be read is reported before any record
    // on the streamed route (the output is left as it was) and after
    // "Writing sequences..." on the other (fixture
    // fuzz_tofast/codon_table_file_missing_order): the same lines but the
    // progress ones.
    const bool table_refused = streamed.err.find("Cannot open codon table file") != std::string::npos;
    if (table_refused) {
        auto messages = [](const std::string& t) {
            std::vector<std::string> lines = sorted_lines(t);
            std::erase_if(lines, [](const std::string& l) { return l == "." || l == "Writing sequences..."; });
            return lines;
        };
        FUZZ_CHECK(messages(streamed.err) == messages(whole.err),
                   "standard error differs:\n" + streamed.err + "\n----\n" + whole.err);
        return 0;
    }
    FUZZ_CHECK((clear_mode ? sorted_lines(streamed.err) == sorted_lines(whole.err) : streamed.err == whole.err),
               "standard error differs:\n" + streamed.err + "\n----\n" + whole.err);
    FUZZ_CHECK(streamed.out == whole.out, "standard output differs:\n" + streamed.out + "\n----\n" + whole.out);
    if (whole.status == 0) FUZZ_CHECK(streamed.file == whole.file, "output files differ");
    return 0;
}
