#pragma once
// Ending the whole program from deep inside a command ("the program ends with
// status N") is done by throwing ProgramExit; main catches it, flushes and
// closes every stream and returns the status. Nothing else calls exit().

namespace kavro {

struct ProgramExit {
    int status = 1;
};

[[noreturn]] inline void end_program(int status = 1) { throw ProgramExit{status}; }

}  // namespace kavro
