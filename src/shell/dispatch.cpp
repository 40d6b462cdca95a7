// dispatch_command: echoes the arguments and calls the handler of the
// command word.
#include "core/console.hpp"
#include "shell/command_table.hpp"
#include "shell/shell.hpp"

namespace kavro {

namespace {

// While a command writes its data to standard output, every text of the
// console goes to standard error; the routing before it returns afterwards,
// however the command ends.
class MessageRouting {
public:
    explicit MessageRouting(bool to_stderr) : before_(messages_to_stderr()) {
        if (to_stderr) set_messages_to_stderr(true);
    }
    ~MessageRouting() { set_messages_to_stderr(before_); }
    MessageRouting(const MessageRouting&) = delete;
    MessageRouting& operator=(const MessageRouting&) = delete;

private:
    bool before_;
};

}  // namespace

bool command_writes_to_stdout(int count, const CommandLine& words) {
    const CommandRow* row = find_command(words[0]);
    return row && writes_data_to_stdout(*row, count, words);
}

int dispatch_command(int count, CommandLine& words) {
    const CommandRow* row = find_command(words[0]);
    MessageRouting routing(row && writes_data_to_stdout(*row, count, words));
    for (int i = 1; i < count && i < kMaxWords; ++i) out("%s ", words[i].c_str());
    out("\n");
    if (!row) {
        err("Unknown command: %s\n", words[0].c_str());
        return 1;
    }
    count = apply_tofast_option(row->tofast_option, count, words);
    return row->handler(count, words);
}

}  // namespace kavro
