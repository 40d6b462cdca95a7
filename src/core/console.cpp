#include "core/console.hpp"

#include <clocale>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <optional>
#include <unistd.h>

#include "core/sjis.hpp"

namespace kavro {

Writer& std_out() {
    static Writer w(1, false);
    return w;
}

Writer& std_err() {
    static Writer w(2, false, 4096);
    return w;
}

namespace {

std::optional<ConsoleEncoding> forced;
bool messages_on_stderr = false;

// The stream the console's messages go to, and its descriptor for the
// encoding choice.
Writer& message_stream() { return messages_on_stderr ? std_err() : std_out(); }
int message_fd() { return messages_on_stderr ? 2 : 1; }

// After a message on standard error the stream is flushed at once, as err()
// does, with standard output flushed before it to keep their order.
void message_done() {
    if (messages_on_stderr) std_err().flush();
}
void message_start() {
    if (messages_on_stderr) std_out().flush();
}

bool locale_is_utf8() {
    // Ask the user's locale for its character set, then return to the "C"
    // locale: character classes everywhere else are the POSIX ones.
    const char* set = std::setlocale(LC_CTYPE, "");
    bool utf8 = false;
    if (set) {
        const char* cs = nl_langinfo(CODESET);
        utf8 = cs && (std::strcmp(cs, "UTF-8") == 0 || std::strcmp(cs, "utf8") == 0);
    }
    std::setlocale(LC_CTYPE, "C");
    return utf8;
}

std::string to_console(const char* utf8, int fd) {
    if (console_encoding(fd) == ConsoleEncoding::Utf8) return utf8;
    return utf8_to_sjis(utf8);
}

void vprint_to(Writer& w, const char* fmt, va_list ap) { w.vprintf(fmt, ap); }

}  // namespace

ConsoleEncoding console_encoding(int fd) {
    if (forced) return *forced;
    // KAVRO_CHARSET=UTF-8 chooses UTF-8 everywhere (logs, pipes, CI output);
    // otherwise a UTF-8 terminal gets UTF-8 and everything else Shift_JIS.
    static const bool utf8_chosen = [] {
        const char* v = std::getenv("KAVRO_CHARSET");
        return v && (std::strcmp(v, "UTF-8") == 0 || std::strcmp(v, "utf-8") == 0 || std::strcmp(v, "UTF8") == 0 ||
                     std::strcmp(v, "utf8") == 0);
    }();
    if (utf8_chosen) return ConsoleEncoding::Utf8;
    static const bool utf8_locale = locale_is_utf8();
    if (utf8_locale && isatty(fd)) return ConsoleEncoding::Utf8;
    return ConsoleEncoding::ShiftJis;
}

void set_console_encoding(ConsoleEncoding enc) { forced = enc; }

void set_messages_to_stderr(bool on) { messages_on_stderr = on; }
bool messages_to_stderr() { return messages_on_stderr; }

void out(const char* fmt, ...) {
    message_start();
    va_list ap;
    va_start(ap, fmt);
    vprint_to(message_stream(), fmt, ap);
    va_end(ap);
    message_done();
}

void err(const char* fmt, ...) {
    std_out().flush();
    va_list ap;
    va_start(ap, fmt);
    vprint_to(std_err(), fmt, ap);
    va_end(ap);
    std_err().flush();
}

void jout(const char* fmt, ...) {
    message_start();
    std::string f = to_console(fmt, message_fd());
    va_list ap;
    va_start(ap, fmt);
    vprint_to(message_stream(), f.c_str(), ap);
    va_end(ap);
    message_done();
}

void jerr(const char* fmt, ...) {
    std_out().flush();
    std::string f = to_console(fmt, 2);
    va_list ap;
    va_start(ap, fmt);
    vprint_to(std_err(), f.c_str(), ap);
    va_end(ap);
    std_err().flush();
}

void out_text(std::string_view s) {
    message_start();
    message_stream().write(s);
    message_done();
}

void jout_text(std::string_view utf8) {
    message_start();
    if (console_encoding(message_fd()) == ConsoleEncoding::Utf8)
        message_stream().write(utf8);
    else
        message_stream().write(utf8_to_sjis(utf8));
    message_done();
}

void progress(char mark) {
    // Marks are flushed at once where a person watches them; into a file or
    // a pipe they leave with the rest of the stream, so a run that writes a
    // mark per record costs no system call per record.
    static const bool out_live = isatty(1) != 0;
    static const bool err_live = isatty(2) != 0;
    const bool live = messages_on_stderr ? err_live : out_live;
    if (live) message_start();
    Writer& w = message_stream();
    w.put('\b');
    w.put(mark);
    if (live) w.flush();
}

void flush_out() { std_out().flush(); }

bool flush_console() {
    bool ok = std_out().flush();
    std_err().flush();
    return ok;
}

}  // namespace kavro
