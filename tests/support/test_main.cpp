// The test binary's entry. The variables a user may export for the program
// (console character set, line length, addseqg, seq_import, circular form)
// are cleared first, so the tests see the defaults whatever the shell holds.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    for (const char* name : {"KAVRO_CHARSET", "PRINTLINE", "ADDSEQG", "SEQ_IMPORT", "CIRCULAR"}) unsetenv(name);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
