#pragma once
// The usage texts of the commands and the other help texts, kept in UTF-8
// and printed with jout_text(). One place for all of them.

#include <string_view>

namespace kavro::usage {

extern const std::string_view txtr;
extern const std::string_view getseq2;
extern const std::string_view toprot;
extern const std::string_view tofast;
extern const std::string_view complement;
extern const std::string_view to_rna;
extern const std::string_view seqcat;
extern const std::string_view extcds;
extern const std::string_view cdsnuc;
extern const std::string_view extrna;
extern const std::string_view genlist;
extern const std::string_view getent;
extern const std::string_view extint;
extern const std::string_view noncod;
extern const std::string_view getclu;
extern const std::string_view chname;
extern const std::string_view simtbl;
extern const std::string_view nucaln;
extern const std::string_view sites;
extern const std::string_view splcod;
// The text on setvar, system and the file commands ("other", "99").
extern const std::string_view other_commands;
// The names of the built-in genetic codes ("codon", "91").
extern const std::string_view codon_tables;

}  // namespace kavro::usage
