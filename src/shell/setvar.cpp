// setvar: changes a run-time setting for the rest of the run, or runs an
// operating-system command ("setvar system ..."). Also the reading of the
// same settings from the environment at start.
#include <climits>
#include <cstdlib>

#include "core/console.hpp"
#include "core/settings.hpp"
#include "core/text_ops.hpp"
#include "ui/command_line.hpp"
#include "shell/runtime_settings.hpp"

namespace kavro {

namespace {

bool is_one_of(std::string_view value, std::initializer_list<std::string_view> choices) {
    for (std::string_view c : choices)
        if (value == c) return true;
    return false;
}

}  // namespace

bool set_line_length_from_digits(std::string_view digits) {
    if (has_non_digit(digits)) return false;
    return set_line_length(digits_value(digits, LONG_MAX));
}

void read_environment_settings() {
    // Values other than those named leave the defaults.
    if (const char* v = std::getenv("PRINTLINE")) static_cast<void>(set_line_length_from_digits(v));
    const char* addseqg = std::getenv("ADDSEQG");
    if (!addseqg)
        g_settings.addseqg = false;
    else if (is_one_of(addseqg, {"TRUE", "true", "1"}))
        g_settings.addseqg = true;
    const char* seq_import = std::getenv("SEQ_IMPORT");
    if (!seq_import)
        g_settings.seq_import = true;
    else if (is_one_of(seq_import, {"FALSE", "false", "0"}))
        g_settings.seq_import = false;
}

int cmd_setvar(int count, CommandLine& words) {
    if (count < 2 || count > 10) return 1;
    const std::string& name = words[1];
    const std::string& value = words[2];

    if ((name == "printline" || name == "line") && count == 3) {
        if (value == "default") {
            static_cast<void>(set_line_length(75));  // always in range
        } else if (!set_line_length_from_digits(value)) {
            err("The line length must be a number from 1 to %d; it stays %d.\n", INT_MAX,
                g_settings.line_length);
            return 1;
        }
    } else if (name == "form" && count == 3) {
        if (value == "circular") {
            g_settings.form = true;
            jout("%s を %s としました.\n", "circular", "TRUE");
        } else if (value == "default") {
            g_settings.form = false;
        }
    } else if (name == "system" && count >= 3) {
        std::string command_line;
        for (int i = 2; i < count; ++i) {
            if (words[i] == ">>")
                command_line += " >> ";
            else
                command_line += words[i] + " ";
        }
        return run_system_command(command_line);
    } else if (name == "addseqg" && count == 3) {
        if (is_one_of(value, {"true", "TRUE", "1"})) {
            g_settings.addseqg = true;
            jout("ADDSEQG を TRUEとしました.\n");
            jout("これによりcdsnuc と extrna ではイントロンを含む配列が得られるようになります.\n");
        } else {
            g_settings.addseqg = false;
            jout("%s を %s としました.\n", "ADDSEQG", "FALSE");
        }
    } else if (name == "seq_import" && count == 3) {
        if (is_one_of(value, {"true", "TRUE", "1", "default"})) {
            g_settings.seq_import = true;
            jout("SEQ_IMPORT を TRUEとしました.\n");
            jout("これにより cdsnuc と extrna では外部配列エントリから\n");
            jout("データを取り込むようになります.\n");
        } else {
            g_settings.seq_import = false;
            jout("%s を %s としました.\n", "SEQ_IMPORT", "FALSE");
        }
    } else if (!is_one_of(name, {"printline", "line", "form", "system", "addseqg", "seq_import"})) {
        // A known setting with a missing or extra value changes nothing.
        err("Unknown setting: %s\n", name.c_str());
        return 1;
    }
    return 0;
}

}  // namespace kavro
