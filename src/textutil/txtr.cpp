// txtr: clean-up of a text file (typically sequence text pasted from
// elsewhere) by one of a set of byte- and line-level operations, chosen by an
// option word or from a menu.

#include <cerrno>
#include <climits>
#include <optional>
#include <string>
#include <unistd.h>

#include "core/console.hpp"
#include "core/program_exit.hpp"
#include "core/text_ops.hpp"
#include "input/line_reader.hpp"
#include "ui/command_line.hpp"
#include "ui/file_copy.hpp"
#include "ui/help.hpp"
#include "ui/prompt.hpp"
#include "textutil/txtr_passes.hpp"

namespace kavro {

namespace {

using txtr::kTempFile;

enum Code : int {
    kExit = 0,
    kRemoveBlanks = 1,
    kRemoveNumbers = 2,
    kRemoveChar = 3,
    kToLower = 4,
    kToUpper = 5,
    kRemoveEmptyLines = 6,
    kCopy = 7,
    kReflow = 8,
    kLineRange = 71,
    kLineEnds = 92,
    kUnknown = 98,
    kNotImplemented = 99,
};

struct Choice {
    int code = kUnknown;
    std::string chars;  // code 3: the character to remove, then its replacement
    long width = 0;     // code 8
    long first = 0;     // code 71
    long last = 0;
};

// Longest answer read at the menu; longer words are read in parts.
constexpr std::size_t kMenuAnswerWidth = 1024;

// Reads "%d" (an optional sign and at least one digit) at text[pos].
std::optional<long> read_int(std::string_view text, std::size_t& pos) {
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    std::size_t start = pos;
    while (pos < text.size() && is_digit(text[pos])) ++pos;
    if (pos == start) return std::nullopt;
    long v = digits_value(text.substr(start, pos - start), LONG_MAX);
    return negative ? -v : v;
}

Choice parse_choice(const std::string& w) {
    Choice c;
    if (w == "exit" || w == "e") c.code = kExit;
    else if (w == "1") c.code = kRemoveBlanks;
    else if (w == "2") c.code = kRemoveNumbers;
    else if (w == "4" || w == "u" || w == "U") c.code = kToLower;
    else if (w == "5" || w == "l" || w == "L") c.code = kToUpper;
    else if (w == "6") c.code = kRemoveEmptyLines;
    else if (w == "7") c.code = kCopy;
    else if (w == "CR" || w == "cr") c.code = kLineEnds;
    else if (w == "set") c.code = kNotImplemented;
    else if (!w.empty() && w[0] == '3') {
        c.code = kRemoveChar;
        c.chars = w.substr(1, 2);
    } else if (!w.empty() && (w[0] == 'J' || w[0] == 'j') && !has_non_digit(std::string_view(w).substr(1))) {
        c.code = kReflow;
        c.width = digits_value(std::string_view(w).substr(1), LONG_MAX);
    } else if (!w.empty() && (w[0] == 'c' || w[0] == 'C')) {
        // "c10-20": lines 10 to 20
        std::string_view rest = std::string_view(w).substr(1);
        std::size_t pos = 0;
        auto first = read_int(rest, pos);
        if (first && pos < rest.size() && rest[pos] == '-') {
            ++pos;
            auto last = read_int(rest, pos);
            if (last && pos == rest.size()) {
                c.code = kLineRange;
                c.first = *first;
                c.last = *last;
            }
        }
    }
    return c;
}

// One word from the console; nothing at the end of standard input.
std::optional<std::string> read_answer() {
    std::string word;
    if (!stdin_reader().read_word(word, kMenuAnswerWidth)) return std::nullopt;
    return word;
}

void show_menu() {
    jout("     -------------------------------------------\n");
    jout("                   ファイル操作の選択\n");
    jout("     -------------------------------------------\n");
    jout("         1. テキストからの空白文字の除去\n");
    jout("         2. テキストからの空白文字と孤立した数字の除去\n");
    jout("         3. テキストからの特定の文字の除去\n");
    jout("         4. 大文字から小文字への変換\n");
    jout("         5. 小文字から大文字への変換\n");
    jout("         6. 空行の削除\n");
    jout("         7. テキストファイルのコピー\n");
    jout("         CR または cr. 改行コードの修正\n");
    jout("         exit または e. プログラム終了\n");
    jout("          選択した番号か記号を入力しリターンをおす ");
}

// The character to remove (and its replacement), confirmed by typing the
// same word twice. "exit" at the confirmation ends the program.
std::optional<std::string> ask_char() {
    for (;;) {
        jout("            削除する文字を一種類だけタイプしてください\n");
        jout("            日本語の文字は利用できません\n");
        auto word = read_answer();
        if (!word) return std::nullopt;
        jout("この文字を削除していいですか <%c>?\n", (*word)[0]);
        jout("確認のため同じ文字 <%c> をもう一度入力してください\n", (*word)[0]);
        jout("やめるときは exit と入力してください\n\n");
        auto again = read_answer();
        if (!again) return std::nullopt;
        if (*again == "exit") end_program(0);
        if (*again == *word) return word->substr(0, 2);
        out("              Error!\n\n");
    }
}

// The re-flow width; nothing when the user gives up.
std::optional<long> ask_width() {
    for (;;) {
        out("                  Enter line length.\n");
        out("                  <exit> to abort.\n\n");
        auto word = read_answer();
        if (!word || *word == "exit") {
            out("Exiting..\n");
            return std::nullopt;
        }
        if (!has_non_digit(*word)) return digits_value(*word, LONG_MAX);
    }
}

// The menu loop. The end of standard input counts as "exit".
Choice menu_choice() {
    Choice exit_choice;
    exit_choice.code = kExit;
    for (;;) {
        show_menu();
        auto word = read_answer();
        if (!word) return exit_choice;
        if (*word == "3") {
            auto chars = ask_char();
            if (!chars) return exit_choice;
            Choice c;
            c.code = kRemoveChar;
            c.chars = *chars;
            return c;
        }
        if (*word == "8" || *word == "J" || *word == "j") {
            auto width = ask_width();
            if (!width) return exit_choice;
            Choice c;
            c.code = kReflow;
            c.width = *width;
            return c;
        }
        Choice c = parse_choice(*word);
        if (c.code != kUnknown) return c;
    }
}

// Same name, or two names of one existing file.
bool one_file(const std::string& a, const std::string& b) { return a == b || same_file(a, b); }

// Removes the scratch file if a chained operation is abandoned half-way.
class TempFileGuard {
public:
    ~TempFileGuard() {
        if (armed_) ::unlink(kTempFile);
    }
    void release() { armed_ = false; }

private:
    bool armed_ = true;
};

void copy_or_exit(const std::string& from, const std::string& to) {
    if (copy_text_file(from, to) != 0) end_program(1);
}

void remove_temp_file() {
    out("Trying to remove temporary file...\n");
    if (::unlink(kTempFile) != 0) err("Unable to remove temporary file: %s.\n", kTempFile);
}

// The blank and empty-line removal, with the isolated numbers removed first
// when asked.
void chained_cleanup(const std::string& in, const std::string& outname, bool numbers) {
    TempFileGuard guard;
    txtr::ReplaceCharPass blanks(' ');
    if (numbers) {
        out("Deleting numbers from file : %s\n", in.c_str());
        out("and writing into a temporary file : %s\n", kTempFile);
        txtr::RemoveNumbersPass pass;
        txtr::run_byte_pass(in, kTempFile, pass);
        out("\nDeleting spaces from file : %s\n", kTempFile);
        txtr::run_byte_pass(kTempFile, outname, blanks);
    } else {
        out("Deleting spaces from file : %s\n", in.c_str());
        txtr::run_byte_pass(in, outname, blanks);
    }
    out("and writing into a temporary file : %s\n", kTempFile);
    copy_or_exit(outname, kTempFile);
    out("Deleting empty lines and writing to file : %s\n", outname.c_str());
    txtr::remove_empty_lines(kTempFile, outname);
    guard.release();
    remove_temp_file();
}

// Refuses file names that would make a pass read what it is overwriting.
bool names_are_safe(const Choice& c, const std::string& in, const std::string& outname) {
    if (one_file(in, outname)) {
        err("Input and output must be different files: %s\n", in.c_str());
        return false;
    }
    if ((c.code == kRemoveBlanks || c.code == kRemoveNumbers) &&
        (one_file(in, kTempFile) || one_file(outname, kTempFile))) {
        err("The name %s is kept for the temporary file; choose another file name.\n", kTempFile);
        return false;
    }
    return true;
}

int run_choice(const Choice& c, const std::string& in, const std::string& outname) {
    switch (c.code) {
    case kExit:
        out("Exiting...\n");
        return 1;
    case kUnknown:
        out("This program will terminate without any file operation.\n");
        out("Terminated.\n");
        return 0;
    case kNotImplemented:
        out("This option has not been implemented.\n");
        out("Terminated.\n");
        return 0;
    default:
        break;
    }
    if (!names_are_safe(c, in, outname)) return 1;
    switch (c.code) {
    case kRemoveBlanks:
    case kRemoveNumbers:
        chained_cleanup(in, outname, c.code == kRemoveNumbers);
        break;
    case kRemoveChar: {
        if (c.chars.empty()) {
            txtr::CopyPass pass;
            txtr::run_byte_pass(in, outname, pass);
        } else {
            txtr::ReplaceCharPass pass(c.chars[0], c.chars.size() > 1 ? c.chars[1] : '\0');
            txtr::run_byte_pass(in, outname, pass);
        }
        break;
    }
    case kToLower:
    case kToUpper: {
        txtr::CasePass pass(c.code == kToUpper);
        txtr::run_byte_pass(in, outname, pass);
        break;
    }
    case kRemoveEmptyLines:
        txtr::remove_empty_lines(in, outname);
        break;
    case kCopy:
        if (copy_text_file(in, outname) != 0) return 1;
        break;
    case kReflow: {
        txtr::ReflowPass pass(c.width);
        txtr::run_byte_pass(in, outname, pass);
        break;
    }
    case kLineRange:
        if (txtr::copy_line_range(in, outname, c.first, c.last) != 0) return 1;
        break;
    case kLineEnds: {
        txtr::LineEndPass pass;
        txtr::run_byte_pass(in, outname, pass);
        break;
    }
    default:
        break;
    }
    out("Terminated.\n");
    return 0;
}

}  // namespace

int cmd_txtr(int count, CommandLine& words) {
    if (count == 1) {
        if (!ask_input_output(words, {"入力ファイル名", "出力ファイル名", "1"})) return 1;
    } else if (count == 2) {
        words.set(2, "outfile");
        if (!ask_argument(words[2], "出力ファイル名")) return 1;
    } else if (count != 3 && count != 4) {
        show_help("txtr");
        return 1;
    }
    Choice choice = count == 4 ? parse_choice(words[3]) : menu_choice();
    return run_choice(choice, words[1], words[2]);
}

}  // namespace kavro
