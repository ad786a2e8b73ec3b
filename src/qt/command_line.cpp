#include "qt/command_line.h"

#include <QCommandLineParser>
#include <QDir>

#include <algorithm>

#ifdef __unix__
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace cam {

namespace {

// Words go through Qt as Latin-1, one character a byte, so that a file name in any
// encoding comes back as it was typed.
QString Word(const std::string& bytes) { return QString::fromLatin1(bytes.data(), qsizetype(bytes.size())); }
std::string Bytes(const QString& word) { return word.toLatin1().toStdString(); }

// The option a word names ("--port", "-port", "--port=x" all name "port"), or nullptr.
const CommandOption* Named(const std::vector<CommandOption>& options, const std::string& word, bool* withValue) {
    if (word.size() < 2 || word[0] != '-' || word == "--") return nullptr;
    const std::size_t start = word[1] == '-' ? 2 : 1;
    const std::size_t equals = word.find('=');
    *withValue = equals != std::string::npos;
    const std::string name = word.substr(start, *withValue ? equals - start : std::string::npos);
    for (const CommandOption& o : options)
        if (o.name == name) return &o;
    return nullptr;
}

bool IsHelp(const std::string& word) { return word == "-h" || word == "--help" || word == "-help"; }

// What QCommandLineParser would take without a word: a value that is missing or empty, or
// one that is the next option (getopt takes any next word; "--port --baud 9600" is a missing
// port), and a value given to a switch.
std::string ValueMistake(const std::vector<CommandOption>& options, const std::vector<std::string>& args,
                         bool commandFollows) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--" || (commandFollows && (a.empty() || a[0] != '-'))) break;
        bool withValue = false;
        const CommandOption* o = Named(options, a, &withValue);
        if (!o) continue;
        const std::string typed = a.substr(0, a.find('='));
        if (o->value.empty()) {
            if (withValue) return typed + " takes no value";
            continue;
        }
        if (withValue) {
            if (a.size() == a.find('=') + 1) return typed + " needs a value (" + o->value + ")";
            continue;
        }
        bool nextWithValue = false;
        if (i + 1 == args.size() || args[i + 1].empty() || args[i + 1] == "--" || IsHelp(args[i + 1]) ||
            Named(options, args[i + 1], &nextWithValue))
            return typed + " needs a value (" + o->value + ")";
        ++i;
    }
    return "";
}

// The words typed for the options QCommandLineParser did not know, as typed.
std::string UnknownOptions(const QStringList& names, const std::vector<std::string>& args) {
    std::string out;
    for (const QString& name : names) {
        std::string typed = (name.size() == 1 ? "-" : "--") + Bytes(name);
        for (const std::string& a : args) {
            if (a == "--") break;
            const std::string word = a.substr(0, a.find('='));
            if (word == "-" + Bytes(name) || word == "--" + Bytes(name)) {
                typed = word;
                break;
            }
        }
        out += (out.empty() ? "unknown option '" : ", '") + typed + "'";
    }
    return out;
}

}  // namespace

SplitArgs SplitCommandLine(const CommandSyntax& syntax, const std::vector<std::string>& args, bool commandFollows) {
    SplitArgs out;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (commandFollows) parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    for (const CommandOption& o : syntax.options) {
        QCommandLineOption option(Word(o.name), Word(o.help));
        if (!o.value.empty()) option.setValueName(Word(o.value));
        parser.addOption(option);
    }
    parser.addOption(QCommandLineOption({"h", "help"}, "show this help and end"));

    QStringList words{Word(syntax.name)};
    for (const std::string& a : args) words << Word(a);
    const bool parsed = parser.parse(words);
    out.help = parser.isSet("help");
    if (out.help) return out;  // whatever else is wrong, the help says how it goes
    out.error = ValueMistake(syntax.options, args, commandFollows);
    if (out.error.empty() && !parsed)
        out.error = parser.unknownOptionNames().isEmpty() ? Bytes(parser.errorText())
                                                          : UnknownOptions(parser.unknownOptionNames(), args);
    if (!out.ok()) return out;

    for (const CommandOption& o : syntax.options) {
        if (!parser.isSet(Word(o.name))) continue;
        std::vector<std::string>& values = out.args.options[o.name];
        if (o.value.empty()) values.push_back("");
        for (const QString& v : parser.values(Word(o.name))) values.push_back(Bytes(v));
    }
    for (const QString& a : parser.positionalArguments()) out.args.arguments.push_back(Bytes(a));
    if (commandFollows) return out;
    for (const CommandOption& o : syntax.options)
        if (o.required && !out.args.has(o.name)) {
            out.error = "--" + o.name + " " + o.value + " is required";
            return out;
        }
    const std::size_t given = out.args.arguments.size();
    // A last argument named "NAME..." takes any number of them.
    const bool many = !syntax.arguments.empty() && syntax.arguments.back().ends_with("...");
    if (given < static_cast<std::size_t>(syntax.leastArguments))
        out.error = "missing " + syntax.arguments[given];
    else if (!many && given > syntax.arguments.size())
        out.error = "unexpected argument '" + out.args.arguments[syntax.arguments.size()] + "'";
    return out;
}

std::string OptionsText(const std::vector<CommandOption>& options) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const CommandOption& o : options)
        rows.push_back({"--" + o.name + (o.value.empty() ? "" : " " + o.value), o.help});
    rows.push_back({"-h, --help", "show this help and end"});
    std::size_t width = 0;
    for (const auto& [left, help] : rows) width = std::max(width, left.size());
    std::string out;
    for (const auto& [left, help] : rows) out += "  " + left + std::string(width + 2 - left.size(), ' ') + help + "\n";
    return out;
}

std::string UsageText(const CommandSyntax& syntax) {
    std::string out;
    for (std::size_t i = 0; i < syntax.usage.size(); ++i)
        out += (i == 0 ? "usage: " : "       ") + syntax.name + (syntax.usage[i].empty() ? "" : " ") + syntax.usage[i] +
               "\n";
    return out;
}

std::string HelpText(const CommandSyntax& syntax) {
    std::string out = UsageText(syntax);
    out += syntax.summary + "\n\noptions:\n" + OptionsText(syntax.options);
    if (!syntax.details.empty()) out += "\n" + syntax.details;
    return out;
}

void EnsureRuntimeDir() {
#ifdef __unix__
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    const passwd* user = ::getpwuid(::getuid());
    const std::string base =
        QDir::tempPath().toStdString() + "/runtime-" + (user ? std::string(user->pw_name) : std::to_string(::getuid()));
    // Qt's own choice, when it is this user's folder (or can be made); else one of our own.
    struct stat st {};
    std::string dir = base;
    if (::mkdir(base.c_str(), 0700) != 0 && (::lstat(base.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
                                             st.st_uid != ::getuid() || (st.st_mode & 0777) != 0700)) {
        std::string pattern = base + "-XXXXXX";
        if (!::mkdtemp(pattern.data())) return;  // Qt says what is wrong
        dir = pattern;
    }
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
#endif
}

}  // namespace cam
