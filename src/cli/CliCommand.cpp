#include "cli/CliCommand.h"

#include "templates/LabelLimits.h"
#include "util/IntConversion.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace qbm::cli {

std::map<std::string, Command>& Registry() {
    static std::map<std::string, Command> registry;
    return registry;
}

Args::Args(const std::vector<std::string>& words, const std::vector<std::string>& flags) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--help" || w == "-h") {
            m_help = true;
        } else if (w.size() > 2 && w.compare(0, 2, "--") == 0) {
            const auto eq = w.find('=');
            if (eq != std::string::npos) {
                m_options[w.substr(0, eq)] = w.substr(eq + 1);
            } else if (std::find(flags.begin(), flags.end(), w) != flags.end()) {
                m_options[w] = "1";
            } else {
                if (i + 1 >= words.size()) throw UsageError("option " + w + " needs a value");
                m_options[w] = words[++i];
            }
        } else {
            m_positional.push_back(w);
        }
    }
}

const std::string& Args::Positional(size_t i, const char* what) const {
    if (i >= m_positional.size()) throw UsageError(std::string("missing ") + what);
    return m_positional[i];
}

bool Args::Has(const std::string& option) const {
    return m_options.count(option) != 0;
}

std::optional<std::string> Args::Value(const std::string& option) const {
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
    char* end = nullptr;
    const double d = std::strtod(v->c_str(), &end);
    if (v->empty() || *end != '\0') throw UsageError(option + " needs a number, not '" + *v + "'");
    return d;
}

void Args::OnlyKnown(const std::vector<std::string>& known) const {
    for (const auto& [name, value] : m_options)
        if (std::find(known.begin(), known.end(), name) == known.end())
            throw UsageError("unknown option " + name);
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

} // namespace qbm::cli
