#pragma once
// The qbm tool's commands. Each command lives in its own Cmd*.cpp and registers itself with
// QBM_REGISTER_COMMAND; main() dispatches by name.

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

// Parsed command line of one command: positional arguments and --options.
class Args {
public:
    // `flags` are options without a value (--checksum); every other --option takes the next word.
    Args(const std::vector<std::string>& words, const std::vector<std::string>& flags);

    const std::vector<std::string>& Positional() const { return m_positional; }
    const std::string& Positional(size_t i, const char* what) const;
    bool Has(const std::string& option) const;
    std::optional<std::string> Value(const std::string& option) const;
    std::string Value(const std::string& option, const std::string& def) const;
    int Int(const std::string& option, int def) const;
    double Double(const std::string& option, double def) const;
    bool WantsHelp() const { return m_help; }
    // Throws UsageError naming the first option the command does not know.
    void OnlyKnown(const std::vector<std::string>& known) const;

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_options;
    bool m_help = false;
};

// Throws UsageError, naming `options`, for a picture of `size` (width, height) larger than any label,
// before it is made.
void RefuseOversizedPicture(std::pair<long long, long long> size, const std::string& options);

// Throws UsageError when `output` names the same file as `input`: writing there would replace the
// file the run reads (a project with its own PDF).
void RefuseOutputOverInput(const std::string& input, const std::string& output);

struct Command {
    std::string name;
    std::string summary;
    std::string usage; // full help text
    std::function<int(const Args&)> run;
    std::vector<std::string> flags;
};

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
