#include "ui/file_copy.hpp"

#include "core/console.hpp"

namespace kavro {

std::string_view piece_as_in_file(const LineReader& in, std::string_view piece, std::string& scratch) {
    // One byte consumed beyond the piece, and the piece ends in "\n": that
    // byte was the CR before it.
    auto consumed = in.tell() - in.piece_offset();
    if (consumed <= static_cast<std::int64_t>(piece.size()) || piece.empty() || piece.back() != '\n') return piece;
    scratch.assign(piece.substr(0, piece.size() - 1));
    scratch += "\r\n";
    return scratch;
}

bool copy_lines(LineReader& in, Writer& out_file) {
    std::string_view piece;
    std::string scratch;
    long pieces = 0;
    while (in.read_piece(piece, kCopyPiece)) {
        out_file.write(piece_as_in_file(in, piece, scratch));
        if (++pieces % 10 == 0) {
            out(".");
            flush_out();
        }
    }
    out("\n");
    return in.finish();
}

int copy_text_file(const std::string& source, const std::string& destination) {
    out("Copying text file...\n");
    auto in = open_input(source);
    if (!in) {
        return 1;
    }
    if (same_file(source, destination)) {
        err("Cannot copy a file onto itself: %s\n\n", destination.c_str());
        return 1;
    }
    auto dest = Writer::open_truncate(destination);
    if (!dest) {
        err("Cannot open file: %s\n\n", destination.c_str());
        return 1;
    }
    return copy_into(*in, *dest, destination);
}

int copy_into(LineReader& in, Writer& dest, const std::string& dest_name) {
    if (!copy_lines(in, dest)) return 1;
    if (!dest.close()) {
        err("Error in writing file: %s\n", dest_name.c_str());
        return 1;
    }
    out("\n");
    return 0;
}

}  // namespace kavro
