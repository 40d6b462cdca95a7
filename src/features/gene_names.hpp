#pragma once
// Names for features that carry no /gene: a tRNA name from its product
// ("transfer RNA-Leu" gives "trnL") and a gene-like name guessed from a
// product or note text ("similar to recA", "dnaK homolog", "recA; putative").

#include <optional>
#include <string>
#include <string_view>

namespace kavro {

// "trn" and the one-letter code of the first amino acid (in the order
// Ala Cys Asp Glu Phe Gly His Ile Lys Leu Met Asn Pro Gln Arg Ser Thr Val Trp
// Tyr) whose three-letter name the text holds; "trn" alone when none does;
// "" for a text shorter than 13 characters or without "transfer RNA".
std::string trna_name(std::string_view product);

// True when the word at the start of text (up to a blank, "(" or the end; a
// "/" ends the look) has the shape of a gene name: 3 to 15 characters, a
// letter first, letters then digits then letters, "-", "_" and "." allowed
// as separators. recA, dnaK, abc, ftsZ2 and ORF12 pass; protein, kinase and
// a12 do not.
bool looks_like_gene_name(std::string_view text);

// A gene name guessed from a product or note text, at most 99 characters;
// nothing when the text gives none.
std::optional<std::string> guess_gene_name(std::string_view text);

}  // namespace kavro
