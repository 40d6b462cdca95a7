#pragma once
// Peptide-mass search: the peptides that a cleavage rule can cut out of each
// protein are matched against observed m/z values (singly charged ions), and
// the proteins whose matching peptides cover enough of them are reported.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/sequence.hpp"
#include "core/writer.hpp"

namespace kavro {

// ---- masses ----
// Monoisotopic masses of the free amino acids, in the order of the
// amino-acid table (convert/info_report.hpp), and of water.
inline constexpr double kMonoisotopicMasses[20] = {
    89.04768026,  121.01975096, 133.03751152, 147.05316152, 165.07898026, 75.03203026,  155.06947826,
    131.09463026, 146.10552926, 131.09463026, 149.05105096, 132.05349489, 115.06333026, 146.06914489,
    174.11167726, 105.04259589, 119.05824589, 117.07898026, 204.08987926, 181.07389589,
};
inline constexpr double kMonoisotopicWater = 18.01056563;
inline constexpr double kCarboxymethylMass = 58.00548126;  // added to every C when switched on
inline constexpr double kOxidationMass = 15.99491563;      // added to every M when switched on
inline constexpr double kProtonMass = 1.01;                // taken off every observed peak

// Sum of the residue masses (with the modifications switched on) less one
// water per peptide bond; 0 for fewer than 2 residues or a character that is
// not one of the 20 amino-acid letters (either case).
double peptide_mass(std::string_view peptide, bool carboxymethylation = false, bool met_oxidation = false);

// ---- the definition file ----
inline constexpr std::size_t kMsdefPiece = 512;   // lines are read in pieces of this size
inline constexpr std::size_t kTitleWidth = 99;    // room of the title
inline constexpr long kLongestPeptide = 100;      // residues

struct MsDefinition {
    std::string title;
    std::string nterm = "";  // words as read; "0" means no rule
    std::string cterm = "";
    bool carboxymethylation = false;
    bool met_oxidation = false;
    double lower = 1000.0;
    double upper = 3500.0;
    double allowance = 0.2;
    double displacement = 0.0;
    int output = 0;  // 0 report selected proteins, 1 all
    double min_coverage2 = 0.05;
    int min_match = 1;
    int fragments = 0;            // most hits kept per protein (raised to 20 per peak)
    std::vector<double> observed;  // peaks as read

    // The residues of a cleavage rule: its characters up to the first "0".
    static std::string residue_set(const std::string& word);
};

// Reads a definition file; nothing after "Cannot open file: %s\n\n" or
// "Memory allocation error in MSanal.\n".
std::optional<MsDefinition> read_msdef(const std::string& path);
// Writes the parameters back in the file's own form.
void write_msdef_echo(Writer& out, const MsDefinition& def);

// ---- the search ----
// One matched peptide of a protein (1-based inclusive positions).
struct MsHit {
    long start = 0;
    long end = 0;
    double peak = 0.0;  // corrected observed value
    double mass = 0.0;  // computed mass, displacement included
    double diff = 0.0;  // peak - mass
    int category = 0;   // 1 after a Cterm residue, 2 ends with one, 4 starts with an Nterm residue, 8 ends before one
    int weight = 0;     // 2 or more: both ends agree with the rule
};
// The size that the search's own report gives for one hit record.
inline constexpr long kHitRecordSize = 248;

// Grows hits to new_count entries, the new ones cleared; nothing changes
// when new_count is not larger. False after "Strange value in MSrealloc.\n"
// for a negative count.
[[nodiscard]] bool grow_mass_hits(const std::string& name, std::vector<MsHit>& hits, long old_count, long new_count);

// Runs the search of the definition file over the proteins and writes the
// echo and the hit table to out (a file the caller opened, or standard
// output), flushed but not closed. 0, or 1 after a message.
[[nodiscard]] int run_mass_search(const std::string& definition_path, Writer& out, const Collection& proteins);
// The same over proteins handed over one at a time: `next` gives each in
// turn, then nothing.
using ProteinSource = std::function<const SequenceRecord*()>;
[[nodiscard]] int run_mass_search_over(const std::string& definition_path, Writer& out, const ProteinSource& next);

}  // namespace kavro
