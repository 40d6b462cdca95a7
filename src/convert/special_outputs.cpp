// Placeholders for the special outputs of tofast: each says that the output
// cannot be made yet and fails, until the reports, the composition table,
// the mass search and the translation are written.
#include "convert/special_outputs.hpp"

#include "core/console.hpp"

namespace kavro {

namespace {

int not_available() {
    err("This output is not available yet.\n");
    return 1;
}

}  // namespace

int collection_special_output(const TofastOptions&, Collection&, int) { return not_available(); }
int collection_translated_output(const TofastOptions&, Collection&) { return not_available(); }
int entry_special_setup(const TofastOptions&, EntryCodonCounts&) { return not_available(); }
int entry_special_output(const TofastOptions&, EntryCodonCounts&, SequenceRecord&, int, Writer&) {
    return not_available();
}
int entry_translated_output(const TofastOptions&, SequenceRecord&, Writer&) { return not_available(); }
int entry_special_summary(const TofastOptions&, EntryCodonCounts&, Writer&) { return not_available(); }
int single_special_output(const TofastOptions&, SequenceRecord&, int, Writer&) { return not_available(); }
int single_translated_output(const TofastOptions&, SequenceRecord&, Writer&) { return not_available(); }

}  // namespace kavro
