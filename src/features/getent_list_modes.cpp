// getent over a multi-FASTA database: the entries named in a list file
// (File=), the same sorted into one file per group inside a directory
// (Group=), or the whole database cut into numbered files (Split=). Entries
// are written again by the FASTA writer. The listed entries are found in one
// reading of the database, which keeps only their offsets, and copied from
// there in the order of the list.

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "features/getent.hpp"
#include "input/formats.hpp"
#include "input/line_reader.hpp"
#include "output/fasta_writer.hpp"
#include "ui/file_copy.hpp"

namespace kavro {

namespace {

bool names_database(const std::string& path, const std::string& db_path) {
    return path == db_path || same_file(path, db_path);
}

// Where the first entry of a listed name lies in the database: its text
// from `start` to `end`, and the type the reading gave it; start -1 while
// no entry of that name has been seen.
struct EntryPlace {
    std::int64_t start = -1;
    std::int64_t end = -1;
    ResidueKind type = ResidueKind::Unknown;
};
using EntryPlaces = std::unordered_map<std::string, EntryPlace>;

// The names a list asks for: the first word of every line but Group lines.
EntryPlaces listed_names(const std::vector<std::string>& lines) {
    EntryPlaces places;
    for (const std::string& line : lines) {
        std::size_t pos = 0;
        const std::string_view first = next_word(line, &pos);
        if (!first.empty() && first != "Group") places.try_emplace(std::string(first));
    }
    return places;
}

// One reading of the database: the place of the first entry of each listed
// name. False after the reader's message when the database cannot be read.
bool find_entries(LineReader& db, EntryPlaces& places) {
    FastaRecordStarts starts;
    EntryPlace* open = nullptr;  // the last entry found, its end not yet known
    const auto note = [&](SequenceRecord& rec) {
        const std::int64_t start = starts.next(db);
        if (open) open->end = start;
        open = nullptr;
        const auto found = places.find(rec.name);
        if (found == places.end() || found->second.start >= 0) return;
        found->second.start = start;
        found->second.type = rec.type;
        open = &found->second;
    };
    if (!stream_multi_fasta(db, note)) return false;
    if (open) open->end = db.tell();
    return true;
}

// The entries come either from a collection (a database that cannot be read
// at offsets: a pipe, gzip) or from their places in the file.
class ListCopy {
public:
    ListCopy(Collection& db, const std::string& db_path, const std::string& directory, Writer* file_output)
        : db_(&db), db_path_(db_path), directory_(directory), output_(file_output) {
        index_.reserve(db.size());
        for (std::size_t i = 0; i < db.size(); ++i) index_.emplace(db[i].name, i);
    }
    ListCopy(FastaRecordsAt& records, const EntryPlaces& places, const std::string& db_path, const std::string& directory,
             Writer* file_output)
        : records_(&records), places_(&places), db_path_(db_path), directory_(directory), output_(file_output) {}

    // 0, or 1 when a group file cannot be opened or is the database itself.
    int line(std::string_view text) {
        std::size_t pos = 0;
        const std::string_view first = next_word(text, &pos);
        if (first.empty()) return 0;
        if (first == "Group") {
            if (!output_) return start_group(text);
            // A list for File= may keep its group lines: they go to the output.
            output_->write(text);
            output_->put('\n');
            return 0;
        }
        Writer* target = output_ ? output_ : (group_ ? &group_->writer() : nullptr);
        if (!target) {
            // A name listed before the first Group line has no file to go to.
            err("Sequence %.*s is listed before any Group line; skipped.\n", static_cast<int>(first.size()),
                first.data());
            return 0;
        }
        SequenceRecord* entry = find(first);
        if (entry == nullptr) {
            err("Sequence %.*s was not found.\n", static_cast<int>(first.size()), first.data());
            return 0;
        }
        SequenceRecord& rec = *entry;
        if (write_fasta_entry(*target, rec, true, ' ', g_settings.line_length) != 0) {
            err("Unable to write sequence %s.\n", rec.name.c_str());
            end_program(1);
        }
        return 0;
    }

    // Closes the open group file and moves it into the directory.
    int finish_group() {
        if (!group_) return 0;
        const std::string name = group_->name();
        const bool ok = group_->close();
        group_.reset();
        if (!ok) {
            err("Unable to write file: %s.\n", name.c_str());
            return 1;
        }
        const std::string target = directory_ + "/" + name;
        if (std::rename(name.c_str(), target.c_str()) != 0)
            err("Cannot move %s into %s.\n", name.c_str(), directory_.c_str());
        return 0;
    }

private:
    // The first entry of the name, or nothing.
    SequenceRecord* find(std::string_view name) {
        if (db_ != nullptr) {
            const auto found = index_.find(name);
            return found == index_.end() ? nullptr : &(*db_)[found->second];
        }
        const auto found = places_->find(std::string(name));
        if (found == places_->end() || found->second.start < 0) return nullptr;
        copied_ = records_->read(found->second.start, found->second.end);
        if (!copied_) {
            err("Error in reading file: %s\n", db_path_.c_str());
            end_program(1);
        }
        copied_->type = found->second.type;
        return &*copied_;
    }

    int start_group(std::string_view text) {
        if (finish_group() != 0) return 1;
        // The group name is the first word from the line's 7th character on.
        std::size_t pos = 0;
        std::string_view group = next_word(text.substr(std::min<std::size_t>(6, text.size())), &pos);
        if (group.ends_with(':')) group.remove_suffix(1);
        const std::string file = "Group" + std::string(group);
        if (names_database(file, db_path_) || names_database(directory_ + "/" + file, db_path_)) {
            err("The group file %s would overwrite the database %s.\n", file.c_str(), db_path_.c_str());
            return 1;
        }
        group_ = OutputTarget::open(file, OutputTarget::Mode::Append);
        if (!group_) {
            err("Cannot open output file: %s.\n\n", file.c_str());
            return 1;
        }
        out("%.*s is being processed.\n", static_cast<int>(text.size()), text.data());
        return 0;
    }

    Collection* db_ = nullptr;
    std::unordered_map<std::string_view, std::size_t> index_;
    FastaRecordsAt* records_ = nullptr;
    const EntryPlaces* places_ = nullptr;
    std::optional<SequenceRecord> copied_;
    const std::string& db_path_;
    const std::string& directory_;
    Writer* output_;
    std::optional<OutputTarget> group_;
};

// Entries per file: entries / n, rounded down to a round number so that the
// files hold 100, 1000 or 10000 entries each where that fits.
long entries_per_file(long entries, long n) {
    long p = entries / n;
    if (p > 10000) p -= p % 10000;
    else if (p > 1000) p -= p % 1000;
    else if (p > 100) p -= p % 100;
    return p;
}

std::string split_file_name(const std::string& out_path, long n, long k) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, n > 100 ? ".%03ld" : ".%02ld", k);
    return out_path + suffix;
}

// The number of entries of a multi-FASTA file: its lines that begin with
// ">". Headers are rare bytes, so they are looked for by themselves.
long count_fasta_headers(const std::string& path) {
    auto in = LineReader::open(path);
    if (!in) return 0;
    long count = 0;
    char previous = '\n';
    const auto count_in = [&](std::string_view bytes) {
        for (std::size_t at = 0; at < bytes.size();) {
            const void* hit = std::memchr(bytes.data() + at, '>', bytes.size() - at);
            if (!hit) break;
            const auto i = static_cast<std::size_t>(static_cast<const char*>(hit) - bytes.data());
            if ((i == 0 ? previous : bytes[i - 1]) == '\n') ++count;
            at = i + 1;
        }
        if (!bytes.empty()) previous = bytes.back();
    };
    std::string_view piece;
    for (;;) {
        const std::string_view ahead = in->buffered();
        count_in(ahead);
        in->skip(ahead.size());
        // One byte more makes the reader fetch the next block.
        if (!in->read_piece(piece, 1)) break;
        count_in(piece);
    }
    return count;
}

int split_database(const std::string& db_path, const std::string& out_path, long n) {
    const long entries = count_fasta_headers(db_path);
    if (entries / 10 < n) {
        err("Number of sequences must be more then ten times larger than the split number.\n");
        end_program(1);
    }
    const long p = entries_per_file(entries, n);
    const long files = (entries + p - 1) / p;
    for (long k = 0; k < files; ++k) {
        if (names_database(split_file_name(out_path, n, k), db_path)) {
            err("The split file %s would overwrite the database.\n", split_file_name(out_path, n, k).c_str());
            return 1;
        }
    }
    err("File will be split into %ld files.\n", files);
    err("Each file contains %ld sequences, except the last one.\n", p);
    // Entries are written as they are read, so memory holds one entry.
    std::optional<OutputTarget> file;
    long written = 0, k = -1;
    const auto failed = [] {
        err("Error in writing sequence.\n");
        end_program(1);
    };
    auto in = LineReader::open(db_path);
    const auto write_entry = [&](SequenceRecord& rec) {
        if (written % p == 0 && k + 1 < files) {
            if (file && !file->close()) failed();
            file = OutputTarget::open(split_file_name(out_path, n, ++k), OutputTarget::Mode::Truncate);
            if (!file) failed();
        }
        // A failed entry says so itself; a failed stream is caught at the close.
        static_cast<void>(write_fasta_entry(file->writer(), rec, true, '_', g_settings.line_length));
        ++written;
    };
    if (!in || !stream_multi_fasta(*in, write_entry)) {
        err("Error in reading file: %s\n", db_path.c_str());
        end_program(1);
    }
    if (file && !file->close()) failed();
    return 0;
}

}  // namespace

int run_fasta_list_mode(const std::string& db_path, const std::string& out_path, const EntrySelection& sel,
                        OutputTarget* output) {
    const bool group_mode = sel.mode == EntrySelection::Mode::Group;
    if (group_mode && ::mkdir(out_path.c_str(), 0777) != 0 && errno != EEXIST)
        err("Cannot make directory: %s\n", out_path.c_str());
    std::optional<LineReader> list;
    if (sel.mode != EntrySelection::Mode::Split) {
        list = LineReader::open(sel.list_path);
        if (!list) {
            err("Cannot open file: %s\n\n", sel.list_path.c_str());
            return 1;
        }
    }
    if (sel.mode == EntrySelection::Mode::Split) {
        if (split_database(db_path, out_path, sel.split_count) != 0) return 1;
    } else {
        // The list's lines (pieces of at most kPiece characters), kept to
        // be copied after the database has been read.
        std::vector<std::string> lines;
        std::string_view piece;
        while (list->read_piece(piece, LineReader::kPiece)) {
            std::string_view text = piece;
            if (text.ends_with('\n')) text.remove_suffix(1);
            lines.emplace_back(text);
        }
        Writer* file_output = group_mode ? nullptr : &output->writer();
        std::optional<Collection> db;
        std::optional<LineReader> db_in;
        EntryPlaces places;
        std::optional<FastaRecordsAt> records;
        std::optional<ListCopy> copy;
        if (readable_at_offsets(db_path)) {
            places = listed_names(lines);
            db_in = open_input(db_path);
            if (!db_in || !find_entries(*db_in, places)) {
                err("Error in reading file: %s\n", db_path.c_str());
                end_program(1);
            }
            records.emplace(*db_in, db_path);
            copy.emplace(*records, places, db_path, out_path, file_output);
        } else {
            db = read_multi_fasta(db_path, ResidueKind::Unknown);
            if (!db) {
                err("Error in reading file: %s\n", db_path.c_str());
                end_program(1);
            }
            copy.emplace(*db, db_path, out_path, file_output);
        }
        for (const std::string& text : lines)
            if (copy->line(text) != 0) return 1;
        if (copy->finish_group() != 0 || !list->finish()) return 1;
        if (output && !output->close()) {
            err("Unable to write file: %s.\n", out_path.c_str());
            return 1;
        }
    }
    err("Done.\n");
    return 0;
}

}  // namespace kavro
