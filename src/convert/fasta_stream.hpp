#pragma once
// tofast on a multi-FASTA file, one record at a time: the jobs that need no
// record beside the one being read (the plain conversion, length limits,
// masking, the reverse complement, DNA to RNA and back, translation, the
// information and composition reports) write each record as soon as it is
// read; the record count and the codon summary keep only counts; sorting
// keeps names and offsets and copies each record from its offset. Memory
// holds the record being read, whatever the size of the file. The output and
// every message are those of reading the whole collection first; the
// messages that route prints after the reading are kept and printed in its
// order once the reading ends. One difference: a codon table read from a
// file is read before the output is opened, so a table that cannot be used
// leaves the output untouched.

#include "convert/tofast_options.hpp"

namespace kavro {

// True for the jobs stream_fasta_job can do: not the mass search, clear mode
// (which streams on its own), the dialog, a codon table without a name, nor
// sorting a file that cannot be read at offsets or sorting with a complement
// or a DNA/RNA conversion.
bool fasta_job_streams(const TofastOptions& opts);

// Runs the job on opts.input_path to opts.output(). 0; 1 when the output
// cannot be created; other failures end the program (status 1).
[[nodiscard]] int stream_fasta_job(TofastOptions& opts);

}  // namespace kavro
