// The ORF search over the translations of the three frames, and its two
// writers.
#include "translate/orf_search.hpp"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstring>

#include "core/console.hpp"
#include "output/fasta_writer.hpp"
#include "output/output_banner.hpp"
#include "output/output_target.hpp"
#include "translate/translation.hpp"

namespace kavro {

namespace {

// "\rOrf number %d created." with the count of the list, whose zero place
// is held by the list's origin (the first ORF found is number 2). On a
// terminal the count moves every kProgressStep ORFs; elsewhere only the
// count at the end of a strand is written, so a redirected run stays small
// and quick.
class OrfProgress {
public:
    OrfProgress() : terminal_(isatty(messages_to_stderr() ? STDERR_FILENO : STDOUT_FILENO) == 1) {}
    void found(std::size_t count) {
        if (terminal_ && count % kProgressStep == 0) show(count);
    }
    void show(std::size_t count) {
        out("\rOrf number %zu created.", count + 1);
        flush_out();
    }

private:
    static constexpr std::size_t kProgressStep = 4096;
    bool terminal_;
};

// The ORFs of one frame: aa is the frame's translation, codon i standing at
// base offset + 3i of rec (0-based).
void scan_frame(std::string_view aa, std::int64_t offset, std::int64_t seq_length, int frame, bool forward,
                OrfSearch& search, OrfProgress& progress) {
    const std::size_t n = aa.size();
    if (n == 0) return;
    const char* const a = aa.data();
    auto emit = [&](std::size_t region, std::size_t q, std::size_t p) {
        const std::int64_t rb = offset + 3 * static_cast<std::int64_t>(region);
        const std::int64_t qb = offset + 3 * static_cast<std::int64_t>(q);
        const std::int64_t pb = offset + 3 * static_cast<std::int64_t>(p);
        progress.found(++search.found);
        if (pb - qb < search.shortest_kept) return;
        if (search.longest_only) search.shortest_kept = pb - qb;
        OrfInfo orf;
        orf.frame = forward ? frame : -frame;
        orf.length = pb - qb;
        orf.region_start = forward ? rb + 1 : seq_length - rb;
        orf.start = forward ? qb + 1 : seq_length - qb;
        orf.stop = forward ? pb + 1 : seq_length - pb;
        orf.init = a[q];
        orf.term = a[p];
        search.orfs.push_back(orf);
    };
    std::size_t region = 0;
    while (region < n) {
        // The closing codon: the next stop, or the frame's last codon.
        const void* star = std::memchr(a + region, '*', n - region);
        const std::size_t p = star ? static_cast<std::size_t>(static_cast<const char*>(star) - a) : n - 1;
        if (p > region) {
            bool any_start = false;
            for (std::size_t q = region; q < p; ++q) {
                if (a[q] != 'M') continue;
                emit(region, q, p);
                any_start = true;
            }
            if (!any_start) emit(region, region, p);
        }
        region = p + 1;
    }
}

}  // namespace

int add_orfs(const SequenceRecord& rec, const std::string& table_name, const CodonTable& table, bool forward,
             OrfSearch& search) {
    const auto seq_length = static_cast<std::int64_t>(rec.residues.size());
    if (seq_length < kShortestOrfSequence) {
        err("Too short sequence in AddOrfInfo.");
        return 1;
    }
    out("\nCodon file: %s\n", table_name.c_str());
    OrfProgress progress;
    for (int frame = 1; frame <= 3; ++frame) {
        auto aa = translate_frame(rec.residues, frame, table);
        if (!aa) return 1;
        scan_frame(*aa, frame - 1, seq_length, frame, forward, search, progress);
    }
    progress.show(search.found);
    return 0;
}

std::int64_t apply_minimum_rule(OrfList& orfs, std::int64_t minimum) {
    if (minimum == 0) {
        std::int64_t longest = 1;
        for (const OrfInfo& o : orfs) longest = std::max(longest, o.length);
        return longest;
    }
    if (minimum < 0) {
        // Nested ORFs share their frame and closing codon and follow one
        // another, the most upstream start first.
        for (std::size_t i = orfs.size(); i-- > 1;)
            if (orfs[i].stop == orfs[i - 1].stop && orfs[i].frame == orfs[i - 1].frame) orfs[i].length = 0;
        return -minimum;
    }
    return minimum;
}

std::int64_t parse_orf_minimum(const std::string& rest) {
    if (rest.empty()) return kDefaultOrfMinimum;
    if (rest == "max") return 0;
    auto number = [](std::string_view digits, std::int64_t& value) {
        if (digits.empty()) return false;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return ec == std::errc() && end == digits.data() + digits.size();
    };
    std::string_view text = rest;
    std::int64_t value = 0;
    if (text.starts_with("long")) {
        const std::size_t first_digit = text.find_first_of("0123456789");
        const std::string_view digits = first_digit == std::string_view::npos ? "" : text.substr(first_digit);
        if (digits.empty()) return -kDefaultOrfMinimum;
        return number(digits, value) ? -value : kDefaultOrfMinimum;
    }
    // Digits, perhaps followed by "longests" as the help shows (s300longests).
    const std::size_t after = std::min(text.find_first_not_of("0123456789"), text.size());
    if (!number(text.substr(0, after), value)) return kDefaultOrfMinimum;
    if (after == text.size()) return value;
    return text.substr(after).starts_with("long") ? -value : kDefaultOrfMinimum;
}

namespace {

bool kept(const OrfInfo& o, std::int64_t effective) { return o.length >= effective && o.length > 0; }

// Closes the target; a failed write is reported, not passed as success.
int finish_output(OutputTarget& target) {
    if (target.close()) return 0;
    err("Writing error in file: %s\n", target.name().c_str());
    return 1;
}

}  // namespace

int write_orf_table(const std::string& path, const SequenceRecord& rec, OrfList orfs, std::int64_t minimum) {
    auto target = OutputTarget::open(path, OutputTarget::Mode::Truncate);
    if (!target) {
        err("Cannot open file: %s\n\n", path.c_str());
        return 1;
    }
    Writer& w = target->writer();
    write_output_banner(w);
    w.write("Print ORF info\n");
    w.printf("Sequence ID: %s.\n", rec.name.c_str());
    w.printf("Minimum sequence length: %lld.\n", static_cast<long long>(minimum));
    w.write("Number\tFrame \tStart \tStop \tDirection  \tLength \tInit \tTerm \n");
    const std::int64_t effective = apply_minimum_rule(orfs, minimum);
    long number = 0;
    for (const OrfInfo& o : orfs) {
        if (!kept(o, effective)) continue;
        w.printf("%ld \t%d \t%lld \t%lld \t%s  \t%lld \t%c \t%c \n", ++number, o.frame,
                 static_cast<long long>(o.start), static_cast<long long>(o.stop),
                 o.stop < o.start ? "complementary" : "normal       ", static_cast<long long>(o.length), o.init,
                 o.term);
    }
    return finish_output(*target);
}

int write_orf_sequences(const std::string& path, const SequenceRecord& rec, OrfList orfs, std::int64_t minimum,
                        const CodonTable& table, int line_length) {
    auto target = OutputTarget::open(path, OutputTarget::Mode::Truncate);
    if (!target) {
        err("Cannot open file: %s\n\n", path.c_str());
        return 1;
    }
    const std::int64_t effective = apply_minimum_rule(orfs, minimum);
    const auto seq_length = static_cast<std::int64_t>(rec.residues.size());
    long number = 0;
    int status = 0;
    for (const OrfInfo& o : orfs) {
        if (!kept(o, effective)) continue;
        ++number;
        const bool complementary = o.stop < o.start;
        std::int64_t from = complementary ? o.stop - 2 : o.start;
        std::int64_t to = complementary ? o.start : o.stop + 2;
        to = std::min(to, seq_length);
        from = std::max<std::int64_t>(from, 1);
        auto piece = extract_seq(rec, from, to);
        if (!piece) {
            err("Error in extracting sequence.\n");
            status = 1;
            break;
        }
        if (complementary && complement_seq(*piece) != 0) {
            err("Error in making complementary.\n");
            status = 1;
            break;
        }
        auto protein = translate_record_with(*piece, 1, table, "_orf#" + std::to_string(number));
        if (!protein) {
            err("Error in translation.\n");
            status = 1;
            break;
        }
        const std::string& aa = protein->residues;
        const auto count = static_cast<long long>(aa.size()) - (!aa.empty() && aa.back() == '*' ? 1 : 0);
        protein->definition = std::to_string(from) + ".." + std::to_string(to) + " " + std::to_string(count) +
                              " aa  frame" + std::to_string(o.frame) + "\n";
        if (write_fasta_entry(target->writer(), *protein, true, ' ', line_length) != 0) {
            err("Error in printing sequence.\n");
            status = 1;
            break;
        }
    }
    if (finish_output(*target) != 0) return 1;
    return status;
}

}  // namespace kavro
