#pragma once
// Translation of residue texts, records and collections through a codon
// table (translate/codon_table.hpp). Every translation in the program goes
// through these.

#include <optional>
#include <string>
#include <string_view>

#include "core/message_sink.hpp"
#include "core/sequence.hpp"
#include "translate/codon_table.hpp"

namespace kavro {

// The usual suffix of a translated record's name.
inline constexpr char kProteinSuffix[] = "_ptn";

// Translates codons frame-1+3i .. frame+1+3i (frame 1-3) of the text; bases
// left over at the end are ignored, stops give "*" and translation goes on.
// "?" after "Sequence too short" (no newline) for a text shorter than 3;
// nothing after "Error in frame number.\n" for another frame. A table that
// is not 64 letters long gives "?" for every codon, after one
// "Error in codon table.\n".
std::optional<std::string> translate_frame(std::string_view residues, int frame, std::string_view table);

// A new protein record translated from rec in frame 1-3, or -1 to -3 for the
// reverse complement (named NAME_C + suffix). Its definition gets
// "; Translated sequence." and its name the suffix. Nothing after a message
// (a table name that names no table among them).
std::optional<SequenceRecord> translate_record(const SequenceRecord& rec, int frame, const std::string& table_name,
                                               std::string_view suffix);
// The same with a table already selected.
std::optional<SequenceRecord> translate_record_with(const SequenceRecord& rec, int frame, const CodonTable& table,
                                                    std::string_view suffix);

// Every record translated (suffix "_ptn", definition "Frame %d "), with a
// "." on standard output after records 0, 10, 20, ... and a newline at the
// end. Nothing after "Error of translation in sequence: %s.\n" or the
// message of a table name that names no table.
std::optional<Collection> translate_collection(const Collection& source, int frame, const std::string& table_name);
// The same, each record replaced by its translation (no second copy of the
// collection). 0, or 1 with the records before the failing one translated.
[[nodiscard]] int translate_collection_in_place(Collection& records, int frame, const std::string& table_name);
// The same with a table already selected.
[[nodiscard]] int translate_collection_in_place_with(Collection& records, int frame, const CodonTable& table);

// One record replaced by its translation, as the collection form does it
// for each (suffix "_ptn", definition "Frame %d "), its messages sent to
// `messages`. 0, or 1 after a message. No progress marks.
[[nodiscard]] int translate_record_in_place(SequenceRecord& rec, int frame, const CodonTable& table, MessageSink messages);

// "Frame %d " with the signed frame.
std::string frame_label(int frame);

}  // namespace kavro
