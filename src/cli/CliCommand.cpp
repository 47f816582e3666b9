#include "cli/CliCommand.h"

#include "templates/LabelLimits.h"
#include "util/IntConversion.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>

namespace qbm::cli {

std::map<std::string, Command>& Registry() {
    static std::map<std::string, Command> registry;
    return registry;
}

Options Join(std::initializer_list<Options> tables) {
    Options all;
    for (const Options& table : tables) all.insert(all.end(), table.begin(), table.end());
    return all;
}

Args::Args(const std::vector<std::string>& words, const Options& options) {
    for (const Option& option : options) m_declared.push_back(option.name);
    const auto find = [&](const std::string& name) {
        return std::find_if(options.begin(), options.end(), [&](const Option& o) { return o.name == name; });
    };
    bool onlyPositional = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (onlyPositional || w.size() <= 2 || w.compare(0, 2, "--") != 0) {
            if (w == "--" && !onlyPositional)
                onlyPositional = true;
            else if (!onlyPositional && w == "-h")
                m_help = true;
            else
                m_positional.push_back(w);
            continue;
        }
        if (w == "--help") {
            m_help = true;
            continue;
        }
        const auto eq = w.find('=');
        const std::string name = w.substr(0, eq);
        const auto option = find(name);
        if (option == options.end()) throw UsageError("unknown option " + name);
        if (option->IsFlag()) {
            if (eq != std::string::npos) throw UsageError("option " + name + " takes no value");
            m_options[name] = "1";
        } else if (eq != std::string::npos) {
            m_options[name] = w.substr(eq + 1);
        } else {
            // A missing value must not take the next option as its value: --pdf --verify would write a
            // file named "--verify".
            const bool next =
                i + 1 < words.size() && !(words[i + 1].size() > 2 && words[i + 1].compare(0, 2, "--") == 0);
            if (!next)
                throw UsageError("option " + name + " needs a value (" + option->value + "; write " + name +
                                 "=VALUE for a value that begins with --)");
            m_options[name] = words[++i];
        }
    }
}

void Args::CheckDeclared(const std::string& option) const {
    if (std::find(m_declared.begin(), m_declared.end(), option) == m_declared.end())
        throw std::logic_error("the command asks for option " + option + ", which it does not declare");
}

const std::string& Args::Positional(size_t i, const char* what) const {
    if (i >= m_positional.size()) throw UsageError(std::string("missing ") + what);
    return m_positional[i];
}

bool Args::Has(const std::string& option) const {
    CheckDeclared(option);
    return m_options.count(option) != 0;
}

std::optional<std::string> Args::Value(const std::string& option) const {
    CheckDeclared(option);
    const auto it = m_options.find(option);
    if (it == m_options.end()) return std::nullopt;
    return it->second;
}

std::string Args::Value(const std::string& option, const std::string& def) const {
    return Value(option).value_or(def);
}

int Args::Int(const std::string& option, int def) const {
    const auto v = Value(option);
    if (!v) return def;
    const auto n = TryStrToInt(*v);
    if (!n) throw UsageError(option + " needs an integer, not '" + *v + "'");
    return *n;
}

double Args::Double(const std::string& option, double def) const {
    const auto v = Value(option);
    if (!v) return def;
    const auto d = ParseDecimal(*v);
    if (!d) throw UsageError(option + " needs a number, not '" + *v + "'");
    return *d;
}

std::optional<double> ParseDecimal(const std::string& text) {
    size_t i = text.size() > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    const size_t start = i;
    int digits = 0, points = 0;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            ++digits;
        else if (text[i] == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1) return std::nullopt;
    // from_chars reads the point whatever the locale, as a command line is written.
    double value = 0;
    const char* first = text.data() + start;
    const auto [end, error] =
        std::from_chars(first, text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return text[0] == '-' ? -value : value;
}

void RefuseOutputOverInput(const std::string& input, const std::string& output) {
    namespace fs = std::filesystem;
    std::error_code error;
    const bool same = fs::exists(output, error)
                          ? fs::equivalent(input, output, error)
                          : fs::weakly_canonical(input, error) == fs::weakly_canonical(output, error);
    if (same) throw UsageError("the output " + output + " is the input file; choose another name");
}

void RefuseOversizedPicture(std::pair<long long, long long> size, const std::string& options) {
    const auto [width, height] = size;
    if (width > kMaxLabelPixels || height > kMaxLabelPixels || width * height > kMaxLabelArea)
        throw UsageError("the picture would be " + std::to_string(width) + " x " + std::to_string(height) +
                         " pixels, more than any label; use smaller " + options);
}

std::string UsageText(const Command& command) {
    // Help of an option starts in one column; a longer name and value put it on the next line.
    constexpr size_t kHelpColumn = 26;
    const auto indented = [](const std::string& text, const std::string& indent) {
        std::string out;
        for (const char c : text) out += c == '\n' ? "\n" + indent : std::string(1, c);
        return out;
    };
    const std::string usage = "Usage: qbm " + command.name + " ";
    std::string text = usage + indented(command.synopsis, std::string(usage.size(), ' '));
    if (!command.description.empty()) text += "\n\n" + command.description;
    if (!command.options.empty()) text += "\n\nOptions:";
    for (const Option& option : command.options) {
        std::string head = "  " + option.name + (option.IsFlag() ? "" : " " + option.value);
        head += head.size() + 2 <= kHelpColumn ? std::string(kHelpColumn - head.size(), ' ')
                                               : "\n" + std::string(kHelpColumn, ' ');
        text += "\n" + head + indented(option.help, std::string(kHelpColumn, ' '));
    }
    return text;
}

} // namespace qbm::cli
