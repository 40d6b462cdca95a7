#pragma once
// The fixed screens of the shell, written to standard output.

namespace kavro {

extern const char* const kVersion;

void print_banner();
void print_main_menu();      // nine lines and an empty line
void print_category_menu();  // 31 lines and an empty line

}  // namespace kavro
