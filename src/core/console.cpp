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
    static const bool utf8_locale = locale_is_utf8();
    if (utf8_locale && isatty(fd)) return ConsoleEncoding::Utf8;
    return ConsoleEncoding::ShiftJis;
}

void set_console_encoding(ConsoleEncoding enc) { forced = enc; }

void out(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    vprint_to(std_out(), fmt, ap);
    va_end(ap);
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
    std::string f = to_console(fmt, 1);
    va_list ap;
    va_start(ap, fmt);
    vprint_to(std_out(), f.c_str(), ap);
    va_end(ap);
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

void out_text(std::string_view s) { std_out().write(s); }

void jout_text(std::string_view utf8) {
    if (console_encoding(1) == ConsoleEncoding::Utf8)
        std_out().write(utf8);
    else
        std_out().write(utf8_to_sjis(utf8));
}

void progress(char mark) {
    Writer& w = std_out();
    w.put('\b');
    w.put(mark);
    w.flush();
}

void flush_out() { std_out().flush(); }

bool flush_console() {
    bool ok = std_out().flush();
    std_err().flush();
    return ok;
}

}  // namespace kavro
