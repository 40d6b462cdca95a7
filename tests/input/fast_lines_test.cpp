// The readers' fast paths for whole clean lines, held against the piece by
// piece rules they stand for: on random and adversarial input both must
// collect exactly the same residues.
#include <gtest/gtest.h>

#include <random>

#include "input/formats.hpp"
#include "input/input_test_util.hpp"
#include "input/reader_common.hpp"

using namespace kavro;
using namespace kavro::input_detail;
using input_test::stderr_of;
using input_test::TempFile;

namespace {

// Sequence lines in the layout, with the occasional fault: a different case,
// a symbol, a digit or a tab among the residues, a CRLF end, a short last
// line, a counter one column too wide, trailing blanks, or a line long
// enough to be cut into pieces (512 and 513 characters among them).
std::string residue_lines(std::mt19937& rng, ResidueLines layout, int lines, int dirt_per_mille) {
    const std::string residues = "acgtnACGTmkvw";
    const std::string faults = "-*.1\t\r\x01\x7F\xE9/>;@[`{ X";
    std::string text;
    for (int i = 0; i < lines; ++i) {
        std::string line;
        const long position = 1 + 60L * i;
        char count[32];
        if (layout == ResidueLines::GenBank) {
            std::snprintf(count, sizeof count, "%9ld", position);
            line = count;
        } else {
            line = "     ";
        }
        const int groups = rng() % 20 == 0 ? 1 + rng() % 6 : 6;
        for (int g = 0; g < groups; ++g) {
            if (layout == ResidueLines::GenBank || g > 0) line += ' ';
            for (int k = 0; k < 10; ++k) line += residues[rng() % residues.size()];
        }
        if (layout == ResidueLines::Embl) {
            std::snprintf(count, sizeof count, "%10ld", position + 59);
            line.resize(70, ' ');
            line += count;
        }
        auto dirty = [&] { return static_cast<int>(rng() % 1000) < dirt_per_mille; };
        if (dirty()) line[rng() % line.size()] = faults[rng() % faults.size()];
        if (dirty()) line.insert(0, "1");
        if (dirty()) line += std::string(rng() % 2 ? 512 - line.size() : 513 - line.size(), ' ');
        if (dirty()) line += std::string(600, 'a');
        line += dirty() ? "\r\n" : "\n";
        text += line;
    }
    return text;
}

// Residue collection of every piece, as the readers did before any fast path.
std::string by_pieces(const std::string& text) {
    auto in = LineReader::from_string(text);
    std::string out;
    std::string_view piece;
    while (in.read_piece(piece, LineReader::kPiece)) append_residues(out, piece);
    return out;
}

// The readers' loop: clean lines from the buffer, the others as pieces.
std::string with_fast_lines(const std::string& text, ResidueLines layout, std::size_t* taken = nullptr) {
    auto in = LineReader::from_string(text);
    std::string out;
    std::string_view piece;
    for (;;) {
        const std::size_t n = append_clean_residue_lines(out, in.buffered(), layout);
        if (taken) *taken += n;
        in.skip(n);
        if (!in.read_piece(piece, LineReader::kPiece)) break;
        append_residues(out, piece);
    }
    return out;
}

TEST(FastResidueLines, SameResiduesAsPieceByPieceCollection) {
    std::mt19937 rng(2024);
    for (ResidueLines layout : {ResidueLines::GenBank, ResidueLines::Embl, ResidueLines::SwissProt}) {
        std::size_t taken_total = 0;
        for (int round = 0; round < 300; ++round) {
            const int dirt = round % 3 == 0 ? 0 : round % 3 == 1 ? 20 : 300;
            std::string text = residue_lines(rng, layout, 1 + rng() % 40, dirt);
            if (round % 5 == 0) text += "//\n";
            if (round % 7 == 0) text.resize(text.size() - rng() % 20);  // cut inside a line
            std::size_t taken = 0;
            ASSERT_EQ(with_fast_lines(text, layout, &taken), by_pieces(text)) << "round " << round << "\n" << text;
            taken_total += taken;
        }
        EXPECT_GT(taken_total, 0u);  // the fast path did take lines
    }
}

TEST(FastResidueLines, TakesOnlyWholeCleanLinesOfItsLayout) {
    const std::string clean = "        1 acgtacgtac GTACGTACGT acgtacgtac gtacgtacgt acgtacgtac gtacgtacgt\n";
    ASSERT_EQ(clean.size(), 76u);
    std::string out;
    EXPECT_EQ(append_clean_residue_lines(out, clean + clean, ResidueLines::GenBank), 152u);
    std::string six_groups;
    for (int g = 0; g < 3; ++g) six_groups += "ACGTACGTACGTACGTACGT";
    EXPECT_EQ(out, six_groups + six_groups);
    // Not clean: a symbol, a CRLF end, a short line, a line cut before its newline.
    for (std::string bad : {clean.substr(0, 20) + "-" + clean.substr(21), clean.substr(0, 75) + "\r\n",
                            std::string("        1 acgt\n"), clean.substr(0, 75)}) {
        out.clear();
        EXPECT_EQ(append_clean_residue_lines(out, bad, ResidueLines::GenBank), 0u) << bad;
        EXPECT_EQ(out, "");
    }
    // A SwissProt line is not an EMBL line, nor the reverse.
    const std::string swiss = "     MSKGEELFTG VVPILVELDG DVNGHKFSVS GEGEGDATYG KLTLKFICTT GKLPVPWPTL\n";
    out.clear();
    EXPECT_EQ(append_clean_residue_lines(out, swiss, ResidueLines::Embl), 0u);
    EXPECT_EQ(append_clean_residue_lines(out, swiss, ResidueLines::SwissProt), swiss.size());
    EXPECT_EQ(out, "MSKGEELFTGVVPILVELDGDVNGHKFSVSGEGEGDATYGKLTLKFICTTGKLPVPWPTL");
}

// FASTA lines of every kind a filter meets: clean ones of a few lengths,
// blanks, tabs, digits, control and high bytes, CRLF ends, headers, comments,
// "//" and lines around the 512-character piece limit, some of them with a
// ">" or ";" just where a piece begins.
std::string fasta_lines(std::mt19937& rng, int lines, int dirt_per_mille) {
    const std::string letters = "ACGTNacgtnMKV-*";
    const std::string faults = " \t1\r\x01\x7F\x80\xFF>;/";
    std::string text;
    const std::size_t width = 50 + rng() % 30;
    for (int i = 0; i < lines; ++i) {
        auto dirty = [&] { return static_cast<int>(rng() % 1000) < dirt_per_mille; };
        std::size_t n = width;
        if (dirty()) n = std::vector<std::size_t>{0, 1, 510, 511, 512, 513, 1024, 1025}[rng() % 8];
        std::string line;
        for (std::size_t k = 0; k < n; ++k) line += letters[rng() % letters.size()];
        if (dirty() && !line.empty()) line[rng() % line.size()] = faults[rng() % faults.size()];
        if (dirty() && line.size() > 512) line[512] = rng() % 2 ? '>' : ';';
        if (dirty()) line.insert(0, std::vector<std::string>{">", ";", "//", "/"}[rng() % 4]);
        line += dirty() ? "\r\n" : "\n";
        text += line;
    }
    return text;
}

// A piece that starts with ">", ";" or "/" leaves a mark (the readers treat
// it as a header, a comment or an end); any other goes through the filter.
void piece_rule(std::string& out, std::string_view piece, FastaFilter filter) {
    if (!piece.empty() && (piece[0] == '>' || piece[0] == ';' || piece[0] == '/')) {
        out += "<mark>";
        return;
    }
    if (filter == FastaFilter::Graphic)
        append_mapped(out, piece, graphic_table());
    else
        append_mapped(out, piece, printable_table());
}

TEST(FastFastaLines, SameResiduesAsThePieceFilters) {
    std::mt19937 rng(99);
    for (FastaFilter filter : {FastaFilter::Graphic, FastaFilter::Printable}) {
        std::size_t taken_total = 0;
        for (int round = 0; round < 400; ++round) {
            const int dirt = round % 3 == 0 ? 0 : round % 3 == 1 ? 30 : 300;
            std::string text = fasta_lines(rng, 1 + rng() % 60, dirt);
            if (round % 7 == 0) text.resize(text.size() - rng() % 10);
            std::string slow, fast;
            auto in = LineReader::from_string(text);
            std::string_view piece;
            while (in.read_piece(piece, LineReader::kPiece)) piece_rule(slow, piece, filter);
            in = LineReader::from_string(text);
            for (;;) {
                const std::size_t n = append_clean_fasta_lines(fast, in.buffered(), filter);
                taken_total += n;
                in.skip(n);
                if (!in.read_piece(piece, LineReader::kPiece)) break;
                piece_rule(fast, piece, filter);
            }
            ASSERT_EQ(fast, slow) << "round " << round;
        }
        EXPECT_GT(taken_total, 0u);
    }
}

TEST(FastFastaLines, LinesAtThePieceLimit) {
    std::string out;
    const std::string line511 = std::string(511, 'A') + "\n";  // 512 bytes: one piece
    const std::string line512 = std::string(512, 'C') + "\n";  // two pieces
    EXPECT_EQ(append_clean_fasta_lines(out, line511 + line512, FastaFilter::Graphic), 512u);
    EXPECT_EQ(out, std::string(511, 'A'));
    // Blanks stay for the printable filter and stop the graphic one.
    out.clear();
    EXPECT_EQ(append_clean_fasta_lines(out, "AC GT\n", FastaFilter::Graphic), 0u);
    EXPECT_EQ(append_clean_fasta_lines(out, "AC GT\n>x\n", FastaFilter::Printable), 6u);
    EXPECT_EQ(out, "AC GT");
}

// A GenBank file of many entries, larger than one read block, so that clean
// lines meet the end of the buffer: read from the file and from one string
// (never refilled), every entry is the same.
TEST(FastResidueLines, GenBankEntriesAcrossReadBlocks) {
    std::mt19937 rng(5);
    std::string text;
    int entries = 0;
    while (text.size() < 3 * LineReader::kBlockSize) {
        const int lines = 1 + rng() % 300;
        text += "LOCUS       E" + std::to_string(entries++) + "   " + std::to_string(lines * 60) +
                " bp    DNA     linear\nDEFINITION  entry.\nORIGIN\n";
        text += residue_lines(rng, ResidueLines::GenBank, lines, entries % 4 == 0 ? 30 : 0);
        text += "//\n";
    }
    TempFile f(text);
    auto file = LineReader::open(f.path());
    ASSERT_TRUE(file);
    auto memory = LineReader::from_string(text);
    std::int64_t at_file = 0, at_memory = 0;
    int seen = 0;
    stderr_of([&] {
        for (;;) {
            auto a = read_genbank_entry(*file, at_file, kavro::ResidueKind::Unknown);
            auto b = read_genbank_entry(memory, at_memory, kavro::ResidueKind::Unknown);
            ASSERT_EQ(a.has_value(), b.has_value());
            if (!a) break;
            ASSERT_EQ(a->residues, b->residues) << a->name;
            ASSERT_EQ(at_file, at_memory);
            ++seen;
        }
    });
    EXPECT_EQ(seen, entries);
}

TEST(FastResidueLines, DoubleSlashAtAPieceBoundaryStillEndsTheEntry) {
    const std::string clean = "        1 acgtacgtac acgtacgtac acgtacgtac acgtacgtac acgtacgtac acgtacgtac\n";
    const std::string text = "LOCUS       X   180 bp    DNA     linear\nORIGIN\n" + clean + std::string(512, ' ') +
                             "//\n" + clean + "//\n";
    auto in = LineReader::from_string(text);
    std::int64_t at = 0;
    std::optional<SequenceRecord> rec;
    stderr_of([&] { rec = read_genbank_entry(in, at, kavro::ResidueKind::Unknown); });
    ASSERT_TRUE(rec);
    EXPECT_EQ(rec->length, 60);
    EXPECT_EQ(at, static_cast<std::int64_t>(text.size() - clean.size() - 3));
}

// Multi-FASTA residues go straight into records reserved up to the next
// header: however a file is cut into blocks, the records hold the same
// residues and little unused room.
TEST(MultiFastaFastLines, ResiduesAndRoomAcrossBlocks) {
    std::mt19937 rng(17);
    std::string text;
    std::vector<std::string> expect;
    while (text.size() < 2 * LineReader::kBlockSize + 1000) {
        const std::size_t n = rng() % 8 == 0 ? LineReader::kBlockSize / 2 + rng() % 5000 : rng() % 5000;
        std::string seq;
        for (std::size_t k = 0; k < n; ++k) seq += "ACGT"[rng() % 4];
        text += ">s" + std::to_string(expect.size()) + "\n";
        for (std::size_t k = 0; k < n; k += 60) text += seq.substr(k, 60) + "\n";
        expect.push_back(seq);
    }
    // A long line whose second piece starts with ">": that piece is a header,
    // so its entry ends early with room left over.
    std::string long_line = std::string(512, 'G') + ">cut here\n";
    text += ">long\n" + long_line + "ACGT\n";
    expect.push_back(std::string(512, 'G'));
    expect.push_back("ACGT");
    TempFile f(text);
    std::optional<Collection> c;
    stderr_of([&] { c = read_multi_fasta(f.path(), ResidueKind::Unknown); });
    ASSERT_TRUE(c);
    ASSERT_EQ(c->size(), expect.size());
    for (std::size_t i = 0; i < expect.size(); ++i) {
        const SequenceRecord& rec = (*c)[i];
        ASSERT_EQ(rec.residues, expect[i]) << i;
        EXPECT_EQ(rec.length, static_cast<long>(expect[i].size()));
        EXPECT_LE(rec.residues.capacity(), rec.residues.size() + rec.residues.size() / 8 + 64) << i;
    }
    EXPECT_EQ(c->back().name, "cut");
}

}  // namespace

namespace {

// Comments among the residues of an entry larger than a read block, one
// before and one after the next header comes into the buffer: every residue
// stays, in order.
TEST(MultiFastaFastLines, CommentsInsideAnEntryLongerThanABlock) {
    std::string first, text = ">big\n";
    std::mt19937 rng(8);
    for (int line = 0; first.size() < LineReader::kBlockSize + 40000; ++line) {
        std::string l;
        for (int k = 0; k < 60; ++k) l += "ACGT"[rng() % 4];
        first += l;
        text += l + "\n";
        if (line == 100) text += ";early comment\n";
        if (first.size() == LineReader::kBlockSize / 60 * 60 + 36000) text += ";late comment\n";
    }
    text += ">small\nMKV\n";
    TempFile f(text);
    std::optional<Collection> c;
    stderr_of([&] { c = read_multi_fasta(f.path(), ResidueKind::Unknown); });
    ASSERT_TRUE(c);
    ASSERT_EQ(c->size(), 2u);
    EXPECT_EQ((*c)[0].residues, first);
    EXPECT_EQ((*c)[0].definition, "\n;early comment\n;late comment\n");
    EXPECT_EQ((*c)[1].residues, "MKV");
}

}  // namespace
