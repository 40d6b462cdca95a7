#include "shell/shell.hpp"

int main(int argc, char** argv) { return kavro::run_program(argc, argv); }
