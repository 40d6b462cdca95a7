#pragma once
// Small input files of every format tofast reads, for the end-to-end tests.

namespace tofast_fixtures {

// Comments, gaps, lower case, and a protein among DNA records.
inline constexpr const char* kMixedFasta =
    ";file comment\n"
    ">s1 first seq\n"
    "acg-t ac\n"
    ";inner comment\n"
    "GT*a\n"
    ">s2 a protein\n"
    "MKVLAAGIWEF\n"
    ">s3\n"
    "ac gt\n";

inline constexpr const char* kClustal =
    "CLUSTAL W (1.83) multiple sequence alignment\n"
    "\n"
    "\n"
    "s1              ACGT-ACGTA\n"
    "s2              ACGTTACG-A\n"
    "                ****.***.*\n"
    "\n";

// Two DNA entries (the second 80 bp long, so its residues take two lines).
inline constexpr const char* kGenBank =
    "LOCUS       GBTEST1       20 bp    DNA     linear   BCT 01-JAN-2000\n"
    "DEFINITION  Test   entry    one,\n"
    "            second line.\n"
    "ACCESSION   X00001\n"
    "FEATURES             Location/Qualifiers\n"
    "     source          1..20\n"
    "ORIGIN\n"
    "        1 aacgtacgta cgtacgtacg\n"
    "//\n"
    "LOCUS       GBTEST2       80 bp    DNA     linear   BCT 01-JAN-2000\n"
    "DEFINITION  Second test entry.\n"
    "FEATURES             Location/Qualifiers\n"
    "ORIGIN\n"
    "        1 gggggggggg gggggggggg gggggggggg gggggggggg gggggggggg gggggggggg\n"
    "       61 ggggggggtt tttttttttt\n"
    "//\n";

// A DNA entry, a protein entry, and another DNA entry.
inline constexpr const char* kGenBankWithProtein =
    "LOCUS       DNA1          10 bp    DNA     linear   BCT 01-JAN-2000\n"
    "DEFINITION  first.\n"
    "ORIGIN\n"
    "        1 aaaaaccccg\n"
    "//\n"
    "LOCUS       PROT1         12 aa            linear   BCT 01-JAN-2000\n"
    "DEFINITION  a protein.\n"
    "ORIGIN\n"
    "        1 mkvlaagiwe fh\n"
    "//\n"
    "LOCUS       DNA2          10 bp    DNA     linear   BCT 01-JAN-2000\n"
    "DEFINITION  third.\n"
    "ORIGIN\n"
    "        1 aaaaaccccg\n"
    "//\n";

inline constexpr const char* kGenPept =
    "LOCUS       GPTEST1       12 aa            linear   BCT 01-JAN-2000\n"
    "DEFINITION  test protein.\n"
    "ORIGIN\n"
    "        1 mkvlaagiwe fh\n"
    "//\n";

inline constexpr const char* kEmbl =
    "ID   EMTEST1    standard; DNA; PLN; 12 BP.\n"
    "XX\n"
    "DE   Test EMBL entry.\n"
    "XX\n"
    "SQ   Sequence 12 BP;\n"
    "     acgtacgtac gt                                                     12\n"
    "//\n"
    "ID   EMTEST2    standard; DNA; PLN; 8 BP.\n"
    "DE   Second EMBL entry.\n"
    "SQ   Sequence 8 BP;\n"
    "     ttttgggg                                                           8\n"
    "//\n";

inline constexpr const char* kSwissProt =
    "ID   SPTEST_HUMAN   STANDARD;      PRT;   12 AA.\n"
    "DE   Test protein.\n"
    "SQ   SEQUENCE   12 AA;  1400 MW;  0000000000000000 CRC64;\n"
    "     MKVLAAGIWE FH\n"
    "//\n";

inline constexpr const char* kUniProt =
    "ID   UPTEST_MOUSE            Reviewed;          12 AA.\n"
    "DE   RecName: Full=Test protein;\n"
    "SQ   SEQUENCE   12 AA;  1400 MW;  0000000000000000 CRC64;\n"
    "     MKVLAAGIWE FH\n"
    "//\n";

inline constexpr const char* kPir =
    "ENTRY           PIRT1     #type complete\n"
    "TITLE           test protein\n"
    "SEQUENCE\n"
    "                5        10\n"
    "       1 M K V L A A G I W E\n"
    "      11 F H\n"
    "///\n";

inline constexpr const char* kNbrf =
    "CODE NBT1\n"
    "NAME test protein\n"
    "SEQUENCE\n"
    "  M K V L A A G I W E F H\n"
    "END\n";

inline constexpr const char* kRaw = "acgt acgt\n12 acgt\n";

}  // namespace tofast_fixtures
