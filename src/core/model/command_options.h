// The options a program or a camctl command takes, as its help lists them, and what a
// command line gave once it has been split by them. The splitting itself is done by the
// programs' shared parser (qt/command_line.h); this header is plain data, so that the rules
// that read the values (the start-up's, the commands') need no Qt.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cam {

struct CommandOption {
    CommandOption(std::string name, std::string value, std::string help, bool required = false)
        : name(std::move(name)), value(std::move(value)), help(std::move(help)), required(required) {}

    std::string name;   // without the dashes: "port"
    std::string value;  // the value's name in the help ("PORT"); "" for a switch
    std::string help;   // one line
    bool required;
};

// The same option, given as the command requires.
inline CommandOption Required(CommandOption o) {
    o.required = true;
    return o;
}

struct CommandSyntax {
    CommandSyntax(std::string name, std::vector<std::string> usage, std::string summary,
                  std::vector<CommandOption> options = {}, std::vector<std::string> arguments = {},
                  int leastArguments = 0, std::string details = "")
        : name(std::move(name)),
          usage(std::move(usage)),
          summary(std::move(summary)),
          options(std::move(options)),
          arguments(std::move(arguments)),
          leastArguments(leastArguments),
          details(std::move(details)) {}

    std::string name;                    // "camdesk", "camctl phases"
    std::vector<std::string> usage;      // the lines after the name: "[--model CxS] [--yes] FILE.Cam"
    std::string summary;                 // what it does, one sentence
    std::vector<CommandOption> options;  // -h/--help is always there besides these
    std::vector<std::string> arguments;  // the names of the arguments after the options, in order
    int leastArguments;                  // the ones beyond are optional
    std::string details;                 // more lines the help ends with; "" for none
};

// What a command line gave: every value of every option given (a switch has one empty value
// each time it is given) and the arguments that are no option, in order.
class ParsedArgs {
public:
    std::map<std::string, std::vector<std::string>> options;
    std::vector<std::string> arguments;

    bool has(std::string_view name) const { return options.count(std::string(name)) != 0; }
    // The value given last; "" when the option was not given.
    std::string value(std::string_view name) const {
        const auto it = options.find(std::string(name));
        return it == options.end() || it->second.empty() ? std::string() : it->second.back();
    }
    std::vector<std::string> values(std::string_view name) const {
        const auto it = options.find(std::string(name));
        return it == options.end() ? std::vector<std::string>() : it->second;
    }
};

}  // namespace cam
