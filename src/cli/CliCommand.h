#pragma once
// The qbm tool's commands. Each command lives in its own Cmd*.cpp, declares its options once in a table
// and registers itself with QBM_REGISTER_COMMAND; main() dispatches by name. The usage text, the check
// of unknown options and which options take a value all come from that table.

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace qbm::cli {

// Wrong usage of a command: printed with the command's help, exit code 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One --option of a command.
struct Option {
    std::string name;  // "--pdf"
    std::string value; // what it takes, as the usage shows it ("OUT.pdf"); empty for a flag
    std::string help;  // may span lines; the usage text indents them
    bool IsFlag() const { return value.empty(); }
};
using Options = std::vector<Option>;

// Concatenates option tables, so that options several commands share are written once.
Options Join(std::initializer_list<Options> tables);

// Parsed command line of one command: positional arguments and its declared --options. An option the
// command does not declare, a flag given a value and an option without its value are usage errors. A
// word after "--" is positional even when it begins with "--".
class Args {
public:
    Args(const std::vector<std::string>& words, const Options& options);

    const std::vector<std::string>& Positional() const { return m_positional; }
    const std::string& Positional(size_t i, const char* what) const;
    bool Has(const std::string& option) const;
    std::optional<std::string> Value(const std::string& option) const;
    std::string Value(const std::string& option, const std::string& def) const;
    int Int(const std::string& option, int def) const;
    double Double(const std::string& option, double def) const;
    bool WantsHelp() const { return m_help; }

private:
    // Asking for an option the command did not declare is a fault of the command, not of its user.
    void CheckDeclared(const std::string& option) const;

    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_options;
    std::vector<std::string> m_declared;
    bool m_help = false;
};

// A decimal number as people write it: an optional sign, digits and one decimal point ("-1.5", ".5").
// Not hexadecimal, exponents, infinities or a locale's decimal comma.
std::optional<double> ParseDecimal(const std::string& text);

// Throws UsageError, naming `options`, for a picture of `size` (width, height) larger than any label,
// before it is made.
void RefuseOversizedPicture(std::pair<long long, long long> size, const std::string& options);

// Throws UsageError when `output` names the same file as `input`: writing there would replace the
// file the run reads (a project with its own PDF).
void RefuseOutputOverInput(const std::string& input, const std::string& output);

struct Command {
    std::string name;
    std::string summary;
    std::string synopsis;    // what follows "qbm NAME" in the usage line; one line per form
    std::string description; // the prose of the help text
    Options options;
    std::function<int(const Args&)> run;
};

// "Usage: qbm NAME SYNOPSIS", the description and one line (or more) per option.
std::string UsageText(const Command& command);

std::map<std::string, Command>& Registry();

struct Registrar {
    explicit Registrar(Command c) { Registry()[c.name] = std::move(c); }
};

#define QBM_CONCAT_INNER(a, b) a##b
#define QBM_CONCAT(a, b) QBM_CONCAT_INNER(a, b)
#define QBM_REGISTER_COMMAND(...)                                                                            \
    static ::qbm::cli::Registrar QBM_CONCAT(qbmRegistrar, __LINE__) {                                        \
        __VA_ARGS__                                                                                          \
    }

} // namespace qbm::cli
