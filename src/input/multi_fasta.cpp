// Multi-FASTA files: every entry of the file, in order.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "core/console.hpp"
#include "core/text_ops.hpp"
#include "input/formats.hpp"
#include "input/fasta_walk.hpp"
#include "input/reader_common.hpp"

namespace kavro {

using namespace input_detail;

namespace {

// A progress dot for every this many entries.
constexpr long kDotEvery = 100;
// Room left unused in a record that is not worth a copy to give back.
constexpr std::size_t kSmallSlack = 64;

// The bytes of text before its first line that starts with ">"; npos when
// text holds no such line.
std::size_t bytes_before_header(std::string_view text) {
    if (text.starts_with(">")) return 0;
    for (std::size_t from = 0; from < text.size();) {
        const void* hit = std::memchr(text.data() + from, '>', text.size() - from);
        if (!hit) break;
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        if (text[at - 1] == '\n') return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

}  // namespace

FastaHeader split_fasta_header(std::string_view rest) {
    std::size_t start = 0;
    while (start < rest.size() && is_space(rest[start])) ++start;
    std::size_t end = start;
    while (end < rest.size() && !is_space(rest[end])) ++end;
    const std::string_view word = rest.substr(start, end - start);
    if (word.size() <= kEntryNameWidth) return {word, rest.substr(end)};
    // A long word such as "gi=12345=description" is cut at its last "="
    // within the first kEntryNameWidth + 1 characters.
    for (std::size_t i = kEntryNameWidth + 1; i-- > 0;)
        if (word[i] == '=') return {word.substr(0, i), rest.substr(start + i + 1)};
    return {word.substr(0, kEntryNameWidth), rest.substr(start + kEntryNameWidth)};
}

namespace {

// A record's name, definition and circular mark from its header piece; true
// when the header is complete.
bool start_record(SequenceRecord& rec, std::string_view header) {
    const FastaHeader h = split_fasta_header(header);
    rec.name.assign(h.name);
    rec.definition.assign(h.definition);
    rec.circular = header.find("circular") != std::string_view::npos ? 1 : 0;
    return rec.definition.ends_with("\n");
}

// Collects every record of the walk into the collection.
class CollectionBuilder {
public:
    CollectionBuilder(LineReader& in, ResidueKind requested_type)
        : in_(in), working_type_(requested_type), forced_(requested_type != ResidueKind::Unknown) {}

    Collection& entries() { return entries_; }

    bool begin(std::string_view header) {
        entries_.emplace_back();
        direct_ = false;
        declared_ = ResidueKind::Unknown;
        return start_record(entries_.back(), header);
    }
    void declared_type(ResidueKind type) { declared_ = type; }
    void definition(std::string_view piece) { entries_.back().definition.append(piece); }

    // Where the residues collect. When the next header is already in the
    // read buffer, the residues cannot outnumber the bytes before it: they
    // go straight into the record, reserved at that size. Otherwise they
    // collect in `scratch_` and the finished entry gets an exact copy.
    // Either way the collection holds no slack of geometric growth.
    void residues_start() {
        const std::string_view ahead = in_.buffered();
        std::size_t bound = bytes_before_header(ahead);
        if (bound == std::string_view::npos && in_.remaining_hint() == static_cast<std::int64_t>(ahead.size()))
            bound = ahead.size();  // the rest of the file is in the buffer
        direct_ = bound != std::string_view::npos;
        if (direct_) entries_.back().residues.reserve(bound);
    }
    void residues(std::string_view piece) { append_graphic(target(), piece); }
    // Clean residue lines are taken straight from the buffer; as pieces they
    // would only go through the filter.
    void take_clean_lines(LineReader& in) {
        in.skip(append_clean_fasta_lines(target(), in.buffered(), FastaFilter::Graphic));
    }
    bool stopped() const { return false; }

    // Closes the current entry: its length, its type and, with detection on,
    // the type every later entry takes (the last entry is classified by
    // itself afterwards).
    void finish(bool last) {
        SequenceRecord& rec = entries_.back();
        if (!direct_) {
            rec.residues.assign(scratch_);
            scratch_.clear();
        } else if (rec.residues.capacity() - rec.residues.size() > rec.residues.size() / 8 + kSmallSlack) {
            // Fewer residues than the room kept (a long line cut into pieces
            // can hold a header).
            rec.residues.shrink_to_fit();
        }
        rec.length = static_cast<long>(rec.residues.size());
        // A PIR entry's type code names its type, unless a type was asked for.
        if (declared_ != ResidueKind::Unknown && !forced_) {
            rec.type = declared_;
            if (++finished_ % kDotEvery == 0) err(".");
            return;
        }
        if (!last && working_type_ == ResidueKind::Unknown) working_type_ = classify_residues(rec);
        rec.type = working_type_;
        if (++finished_ % kDotEvery == 0) err(".");
    }

private:
    std::string& target() { return direct_ ? entries_.back().residues : scratch_; }

    LineReader& in_;
    ResidueKind working_type_;
    bool forced_;
    ResidueKind declared_ = ResidueKind::Unknown;
    Collection entries_;
    std::string scratch_;
    bool direct_ = false;
    long finished_ = 0;
};

}  // namespace

namespace {

// Hands every record of the walk to a callback, one record at a time, in a
// record whose buffers are reused: after the longest record has been read
// no record allocates. The first long record's residues are reserved from
// what is known of it (the bytes before the next header when it is in the
// read buffer, else the rest of the file), so they are never grown by
// doubling and copied.
class RecordStream {
public:
    // With `only_one`, the walk stops after the first record.
    RecordStream(LineReader& in, const FastaRecordSink& sink, bool only_one = false)
        : in_(in), sink_(sink), only_one_(only_one) {}

    bool begin(std::string_view header) {
        rec_.residues.clear();
        rec_.type = ResidueKind::Unknown;
        declared_ = ResidueKind::Unknown;
        return start_record(rec_, header);
    }
    void declared_type(ResidueKind type) { declared_ = type; }
    void definition(std::string_view piece) { rec_.definition.append(piece); }
    void residues_start() {
        if (stopped()) return;  // the record after the one asked for
        const std::string_view ahead = in_.buffered();
        const std::size_t bound = bytes_before_header(ahead);
        if (bound != std::string_view::npos) {
            rec_.residues.reserve(bound);
        } else {
            reserve_hint(rec_.residues, static_cast<std::int64_t>(ahead.size()) + in_.remaining_hint());
        }
    }
    void residues(std::string_view piece) { append_graphic(rec_.residues, piece); }
    void take_clean_lines(LineReader& in) {
        in.skip(append_clean_fasta_lines(rec_.residues, in.buffered(), FastaFilter::Graphic));
    }
    bool stopped() const { return only_one_ && finished_ > 0; }

    // The reader's typing: until a record has a type, each record is
    // classified by itself and its type becomes that of the records after
    // it; the last record is classified by itself when none came before.
    void finish(bool last) {
        rec_.length = static_cast<long>(rec_.residues.size());
        if (declared_ != ResidueKind::Unknown) {
            rec_.type = declared_;  // a PIR entry's type code
        } else if (working_type_ == ResidueKind::Unknown) {
            rec_.type = classify_residues(rec_);
            if (!last) working_type_ = rec_.type;
        } else {
            rec_.type = working_type_;
        }
        if (++finished_ % kDotEvery == 0) err(".");
        next_header_ = !last;
        sink_(rec_);
    }

    long records() const { return finished_; }
    // True when the last record ended at the header of another.
    bool ended_at_header() const { return next_header_; }

private:
    LineReader& in_;
    const FastaRecordSink& sink_;
    SequenceRecord rec_;
    ResidueKind working_type_ = ResidueKind::Unknown;
    ResidueKind declared_ = ResidueKind::Unknown;
    long finished_ = 0;
    bool only_one_ = false;
    bool next_header_ = false;
};

}  // namespace

std::optional<long> stream_multi_fasta(LineReader& in, const FastaRecordSink& sink) {
    RecordStream stream(in, sink);
    try {
        walk_fasta_records(in, stream);
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }
    if (!in.finish()) return std::nullopt;
    err(".\n");
    return stream.records();
}

std::optional<SequenceRecord> read_fasta_record(LineReader& in) {
    std::optional<SequenceRecord> record;
    const FastaRecordSink keep = [&record](SequenceRecord& rec) { record = std::move(rec); };
    RecordStream stream(in, keep, true);
    try {
        walk_fasta_records(in, stream);
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }
    if (in.error()) return std::nullopt;
    // The walk has read the next header: the reader goes back to it.
    if (record && stream.ended_at_header() && !in.seek(in.piece_offset())) return std::nullopt;
    return record;
}

bool readable_at_offsets(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    unsigned char magic[2] = {0, 0};
    const bool gzip = ::pread(fd, magic, 2, 0) == 2 && magic[0] == 0x1F && magic[1] == 0x8B;
    ::close(fd);
    return !gzip;
}

FastaRecordsAt::FastaRecordsAt(LineReader& in, const std::string& path)
    : in_(in), fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}

FastaRecordsAt::~FastaRecordsAt() {
    if (fd_ >= 0) ::close(fd_);
}

bool FastaRecordsAt::read_bytes(std::int64_t start, std::int64_t end) {
    if (fd_ < 0 || start < 0 || end < start) return false;
    bytes_.resize(static_cast<std::size_t>(end - start));
    std::size_t done = 0;
    while (done < bytes_.size()) {
        const ssize_t n = ::pread(fd_, bytes_.data() + done, bytes_.size() - done, static_cast<off_t>(start + static_cast<std::int64_t>(done)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<SequenceRecord> FastaRecordsAt::read(std::int64_t start, std::int64_t end) {
    // One read per record: a seek of the line reader would refill a whole
    // block for each.
    if (read_bytes(start, end) && bytes_.find('\r') == std::string::npos) {
        LineReader text = LineReader::from_string(std::move(bytes_));
        bytes_ = std::string();
        return read_fasta_record(text);
    }
    if (!in_.seek(start)) return std::nullopt;
    return read_fasta_record(in_);
}

std::optional<Collection> read_multi_fasta(const std::string& path, ResidueKind requested_type) {
    auto in = open_input(path);
    if (!in) return std::nullopt;
    const bool forced = requested_type == ResidueKind::Dna || requested_type == ResidueKind::Rna ||
                        requested_type == ResidueKind::Protein;
    CollectionBuilder builder(*in, forced ? requested_type : ResidueKind::Unknown);
    try {
        walk_fasta_records(*in, builder);
    } catch (const std::bad_alloc&) {
        err("Out of memory\n");
        return std::nullopt;
    }
    if (!in->finish()) return std::nullopt;
    Collection entries = std::move(builder.entries());
    err(".\n");
    for (SequenceRecord& rec : entries)
        if (rec.type == ResidueKind::Unknown) rec.type = classify_residues(rec);
    return entries;
}

}  // namespace kavro
