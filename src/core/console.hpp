#pragma once
// The program's console: standard output and standard error as buffered
// Writers, and the small printf-style helpers every command prints through.
//
// Japanese menus, prompts and help texts are kept in the source as UTF-8 and
// printed with jout()/jerr(): they leave as Shift_JIS (code page 932) bytes,
// which is what scripts reading our output receive, or as UTF-8 when the
// stream is a terminal whose locale is UTF-8, so that a person can read them.
// out()/err() print bytes as they are (data, file names, English messages).

#include <string>
#include <string_view>

#include "core/writer.hpp"

namespace kavro {

Writer& std_out();
Writer& std_err();

// Standard output, printf-style.
[[gnu::format(printf, 1, 2)]] void out(const char* fmt, ...);
// Standard error, printf-style; standard output is flushed first so that the
// two keep their order on a terminal, and the message leaves at once.
[[gnu::format(printf, 1, 2)]] void err(const char* fmt, ...);
// As out()/err(), with a UTF-8 format that holds Japanese text.
[[gnu::format(printf, 1, 2)]] void jout(const char* fmt, ...);
[[gnu::format(printf, 1, 2)]] void jerr(const char* fmt, ...);
// Plain text, no formatting.
void out_text(std::string_view s);
void jout_text(std::string_view utf8);

// A progress mark: backspace and one character on standard output, flushed
// at once when that stream is a terminal.
void progress(char mark);
void flush_out();
// Flush both streams; false if a write to standard output failed.
[[nodiscard]] bool flush_console();

// While a command writes its data to standard output, the console's own
// messages (everything printed with out/jout/out_text/jout_text/progress)
// go to standard error instead, so that the data stay clean. Data writers
// use std_out() directly and are not affected.
void set_messages_to_stderr(bool on);
[[nodiscard]] bool messages_to_stderr();

// Console encoding of Japanese text for standard output (fd 1) or error (fd 2).
enum class ConsoleEncoding { ShiftJis, Utf8 };
ConsoleEncoding console_encoding(int fd);
// Tests and the shell may force the choice.
void set_console_encoding(ConsoleEncoding enc);

}  // namespace kavro
