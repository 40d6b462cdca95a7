// Feature sequences cut out of their entry, with start and end arguments.

#include "features/feature_sequences.hpp"

#include <algorithm>
#include <vector>

#include "core/console.hpp"
#include "core/text_ops.hpp"

namespace kavro {

namespace {

void mark_failed(SequenceRecord& rec) {
    rec.residues = "*";
    rec.length = 1;
}

std::string reverse_complement(std::string_view s) {
    std::string r(s.size(), ' ');
    for (std::size_t i = 0; i < s.size(); ++i) r[i] = complement_base(s[s.size() - 1 - i], false);
    return r;
}

// The parts every feature of an entry goes through before its exons are
// joined: its definition split, the entry accession, the exon list, and the
// refusal of exons of other entries where they cannot be had.
struct PreparedFeature {
    std::string feature_name;
    std::string accession;
    ExonList exons;
};

enum class Preparation { Ready, Skip };

// Features skipped after their message are not written at all.
void drop_skipped(Collection& features, const std::vector<bool>& skipped) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < features.size(); ++i)
        if (!skipped[i]) {
            if (kept != i) features[kept] = std::move(features[i]);
            ++kept;
        }
    features.resize(kept);
}

Preparation prepare(const SequenceRecord& entry, const SequenceRecord& rec, bool refuse_remote_ends,
                    PreparedFeature& f) {
    const DefinitionParts parts = split_definition(rec.definition);
    f.feature_name.assign(parts.feature_name);
    f.accession = definition_accession(parts.rest);
    if (f.accession.empty()) f.accession = entry.accession;
    // A count word that is not a number is a definition that cannot be read:
    // said like any other unreadable location, never written empty.
    if (parts.count_word.empty() || has_non_digit(parts.count_word) != 0 ||
        !parse_exon_list(rec.definition, f.exons, nullptr)) {
        err("\nError in making exon list. Skipping %s %s.\n", entry.name.c_str(), f.feature_name.c_str());
        return Preparation::Skip;
    }
    if (refuse_remote_ends) {
        for (const Exon* ex : {&f.exons.front(), &f.exons.back()}) {
            if (is_remote(ex->accession, f.accession)) {
                err("\nSequence import from another file: %s. Not currently supported. ", ex->accession.c_str());
                err("Skipping %s %s.\n", entry.name.c_str(), f.feature_name.c_str());
                return Preparation::Skip;
            }
        }
    }
    return Preparation::Ready;
}

// The length of the molecule an exon lies on: the entry, or with
// seq_import the other entry it names; 0 when that cannot be found.
long molecule_length(const SequenceRecord& entry, const Exon& ex, const std::string& accession,
                     const JoinContext& ctx, RemoteSequences& remote) {
    if (ctx.seq_import && is_remote(ex.accession, accession))
        return remote.length(accession_base(ex.accession), ctx);
    return static_cast<long>(entry.residues.size());
}

}  // namespace

bool cut_feature_sequences(const SequenceRecord& entry, Collection& features, std::size_t first, EndArgument start,
                           EndArgument end, const JoinContext& ctx, RemoteSequences& remote) {
    const long length = static_cast<long>(entry.residues.size());
    const bool circular = entry.circular != 0;
    const char A = start.reference, B = end.reference;
    const long a = start.offset, b = end.offset;
    const long max_fill = kFillFactor * length + kFillMargin;
    std::vector<bool> skipped(features.size(), false);
    for (std::size_t idx = first; idx < features.size(); ++idx) {
        if (idx % 10 == 0) progress('.');
        SequenceRecord& rec = features[idx];
        if (rec.name != entry.name) continue;
        PreparedFeature f;
        if (prepare(entry, rec, !ctx.seq_import, f) == Preparation::Skip) {
            skipped[idx] = true;
            continue;
        }
        ExonList& exons = f.exons;
        const char* ename = entry.name.c_str();
        const char* fname = f.feature_name.c_str();

        const long total = exon_total(exons, f.accession, length, ctx.seq_import);
        const Exon& head = exons.front();
        const Exon& tail = exons.back();
        const bool five_partial = head.plus() ? head.partial_start : head.partial_end;
        const bool three_partial = (tail.partial_end && head.plus()) || (tail.partial_start && !head.plus());
        if ((five_partial && A == 'S' && a != 0) || (three_partial && B == 'E' && b != 0)) {
            err("Excluded %s %s.\n", ename, fname);
            mark_failed(rec);
            continue;
        }

        long up_room = 0, down_room = 0;
        if (!circular) {
            const long head_length = molecule_length(entry, head, f.accession, ctx, remote);
            const long tail_length = molecule_length(entry, tail, f.accession, ctx, remote);
            if (head_length == 0 || tail_length == 0) {
                mark_failed(rec);
                continue;
            }
            up_room = head.plus() ? head.start - 1 : head_length - head.end;
            down_room = tail.plus() ? tail_length - tail.end : tail.start - 1;
        }
        long up = 0, down = 0, front_fill = 0, back_fill = 0;
        if (A == 'S' && a < 0) {
            up = -a;
            if (!circular && up_room < up) {
                front_fill = up - up_room;
                up = std::max(up_room, 0L);
            }
            Exon& ex = exons.front();
            if (ex.plus()) {
                ex.start -= up;
                // In a circular entry the stretch before the first base
                // is the end of the molecule.
                if (circular && ex.start < 1) ex.start += length;
            } else {
                ex.end += up;
            }
        }
        if (B == 'E' && b > 0) {
            down = b;
            if (!circular && down_room < down) {
                back_fill = down - down_room;
                down = std::max(down_room, 0L);
            }
            Exon& ex = exons.back();
            if (ex.plus()) {
                ex.end += down;
            } else {
                ex.start -= down;
                if (circular && ex.start < 1) ex.start += length;
            }
        }
        if (B == 'S' && b > total) back_fill = b - total;
        if (A == 'E' && a + total <= 0) front_fill = 1 - total - a;
        if (front_fill > max_fill || back_fill > max_fill) {
            err("Offsets beyond the entry for %s %s: a fill of %ld bases is refused.\n", ename, fname,
                std::max(front_fill, back_fill));
            mark_failed(rec);
            continue;
        }

        SequenceRecord joined = join_exons(entry, exons, f.accession, ctx, remote);
        if (joined.length <= 1 || joined.residues.size() <= 1) {
            err("Error in joining exons for %s %s.\n", ename, fname);
            mark_failed(rec);
            continue;
        }
        joined.name = std::move(rec.name);
        joined.definition = std::move(rec.definition);
        joined.set_accession(f.accession);
        rec = std::move(joined);

        const long L = rec.length;
        const long K = L - up - down;
        if (L < 0 || K < 0) {
            err("Error of chopping sides in add_seq.\n");
            mark_failed(rec);
            continue;
        }
        const long from = (A == 'S' && a > 0) ? a : (A == 'E') ? K + up + a : 1;
        const long to = (B == 'E' && b < 0) ? K + up + b : (B == 'S') ? b + up : L;
        if (to <= 0 || from > L) {
            err("Error of chopping sides in add_seq.\n");
            mark_failed(rec);
            continue;
        }
        if (from > 1 || to < L) {
            if (cut_residues(rec, from, to) != 0) {
                err("Error in chopping sides in add_seq.\n");
                return false;
            }
        }
        if (!circular && (five_partial || three_partial || front_fill > 0 || back_fill > 0))
            pad_both(rec.residues, front_fill, back_fill, '-');
        rec.length = static_cast<long>(rec.residues.size());
    }
    drop_skipped(features, skipped);
    return true;
}

bool extract_genomic_spans(const SequenceRecord& entry, Collection& features, std::size_t first, EndArgument start,
                           EndArgument end, const JoinContext& ctx, RemoteSequences& remote) {
    const long length = static_cast<long>(entry.residues.size());
    const bool circular = entry.circular != 0;
    const char A = start.reference, B = end.reference;
    const long a = start.offset, b = end.offset;
    std::vector<bool> skipped(features.size(), false);
    for (std::size_t idx = first; idx < features.size(); ++idx) {
        SequenceRecord& rec = features[idx];
        if (rec.name != entry.name) continue;
        PreparedFeature f;
        if (prepare(entry, rec, true, f) == Preparation::Skip) {
            skipped[idx] = true;
            continue;
        }
        const char* ename = entry.name.c_str();
        const char* fname = f.feature_name.c_str();
        rec.residues.clear();
        ExonList& exons = f.exons;
        const Exon& head = exons.front();
        const Exon& tail = exons.back();
        const long pos_s = head.plus() ? head.start : head.end;
        const long dir_s = head.plus() ? 1 : -1;
        const long pos_e = tail.plus() ? tail.end : tail.start;
        const long dir_e = tail.plus() ? 1 : -1;
        if (A != 'S' && A != 'E') {
            err("\nStart location is not correctly specified. Use S or E.\n");
            return false;
        }
        if (B != 'S' && B != 'E') {
            err("\nEnd location is not correctly specified. Use S or E.\n");
            return false;
        }
        const long dir_a = A == 'S' ? dir_s : dir_e;
        long from = a * dir_a + (A == 'S' ? pos_s : pos_e);
        long to = b * (B == 'S' ? dir_s : dir_e) + (B == 'S' ? pos_s : pos_e);
        if (circular && length > 0) {
            for (long* p : {&from, &to}) {
                if (*p > length) *p -= length;
                if (*p < 1) *p += length;
            }
        }

        if (exons_out_of_order(exons) && A == 'S' && B == 'E') {
            err("\nThis might be a trans-spliced gene: %s %s.\n", ename, fname);
            err("Catenated exons will be returned as a single exon sequence.\n");
            // The outer sides: before the first exon, after the last.
            if (a < 0) {
                Exon& ex = exons.front();
                if (ex.plus()) ex.start += a; else ex.end -= a;
            }
            if (b > 0) {
                Exon& ex = exons.back();
                if (ex.plus()) ex.end += b; else ex.start -= b;
            }
            SequenceRecord joined = join_exons(entry, exons, f.accession, ctx, remote);
            if (joined.length <= 1) {
                err("Error in joining exons for %s %s.\n", ename, fname);
                mark_failed(rec);
                continue;
            }
            std::string& r = joined.residues;
            if (b < 0) r.resize(r.size() - std::min<std::size_t>(r.size(), static_cast<std::size_t>(-b)));
            if (a > 0) r.erase(0, std::min<std::size_t>(r.size(), static_cast<std::size_t>(a)));
            rec.residues = std::move(r);
        } else {
            // Pieces of the entry, checked as extract_seq checks them.
            bool ok = true;
            auto piece = [&](long p, long q) -> std::string {
                auto part = extract_seq(entry, p, q);
                if (!part) {
                    ok = false;
                    return {};
                }
                return std::move(part->residues);
            };
            const bool plus = dir_a > 0;
            std::string stretch;
            if ((to - from) * dir_a < 0) {
                if (circular)
                    out("\nExtraction of %s from a circular genome: %s.\n", fname, ename);
                else
                    out("\nEnd of linear genome: %s for %s.\n", ename, fname);
                stretch = plus ? piece(from, length) + piece(1, to) : piece(to, length) + piece(1, from);
            } else {
                stretch = plus ? piece(from, to) : piece(to, from);
            }
            if (!ok) {
                err("\nUnable to extract nuc seq for %s.\n", fname);
                mark_failed(rec);
                continue;
            }
            rec.residues = plus ? std::move(stretch) : reverse_complement(stretch);
        }
        rec.length = static_cast<long>(rec.residues.size());
        if (idx % 10 == 0) progress('.');
    }
    drop_skipped(features, skipped);
    return true;
}

}  // namespace kavro
