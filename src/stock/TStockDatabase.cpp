#include "stock/TStockDatabase.h"

#include "stock/TStockReader.h"
#include "util/Text.h"

#include <QSettings>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qbm {
namespace {

constexpr std::string_view kTemplateSuffix = "-templates.xml";
constexpr std::string_view kPaperFile = "paper-sizes.xml";

// A pipe would block the read and a device such as /dev/zero never end it: only regular files (or
// links to them) are read.
bool IsRegularFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(text).str();
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        const size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

} // namespace

std::string DefaultStockFolder() {
    if (const char* env = std::getenv("QBM_STOCK_DIR"); env && *env) return env;
    const QString setting = QSettings().value("LabelStock/Folder").toString();
    if (!setting.isEmpty()) return setting.toStdString();
    return std::string(kDebianStockFolder);
}

TStockDatabase TStockDatabase::Load(const std::string& folder) {
    namespace fs = std::filesystem;
    TStockDatabase db;
    db.m_folder = folder;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        db.m_problems.push_back(folder + ": no such folder");
        return db;
    }
    TStockReader reader;
    const fs::path paperPath = fs::path(folder) / kPaperFile;
    if (fs::exists(paperPath, ec) && !IsRegularFile(paperPath)) {
        db.m_problems.push_back(std::string(kPaperFile) +
                                ": not a regular file; only A4 and US Letter sheets are known");
    } else if (fs::exists(paperPath, ec)) {
        if (const auto text = ReadFile(paperPath))
            reader.ReadPaperSizes(*text, std::string(kPaperFile));
        else
            db.m_problems.push_back(std::string(kPaperFile) + ": cannot be read");
    } else {
        db.m_problems.push_back(std::string(kPaperFile) +
                                ": missing; only A4 and US Letter sheets are known");
    }

    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > kTemplateSuffix.size() && name.ends_with(kTemplateSuffix))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& path : files) {
        const std::string name = path.filename().string();
        if (!IsRegularFile(path))
            db.m_problems.push_back(name + ": not a regular file");
        else if (const auto text = ReadFile(path))
            reader.ReadTemplates(*text, name);
        else
            db.m_problems.push_back(name + ": cannot be read");
    }
    db.m_stocks = reader.Finish();
    db.m_problems.insert(db.m_problems.end(), reader.Problems().begin(), reader.Problems().end());

    db.m_searchText.reserve(db.m_stocks.size());
    for (const TStock& s : db.m_stocks)
        db.m_searchText.push_back(LowerCase(s.brand + " " + s.part + " " + s.description + " " +
                                            s.PaperText() + " " + s.LabelSizeText() + " " + s.GridText()));
    return db;
}

const TStock* TStockDatabase::Find(std::string_view name) const {
    const std::string wanted = LowerCase(Trim(std::string(name)));
    for (const TStock& s : m_stocks)
        if (LowerCase(s.Name()) == wanted) return &s;
    return nullptr;
}

bool TStockDatabase::Matches(size_t index, std::string_view words) const {
    const std::string lower = LowerCase(words);
    for (std::string_view word : Words(lower))
        if (m_searchText[index].find(word) == std::string::npos) return false;
    return true;
}

std::vector<const TStock*> TStockDatabase::Search(std::string_view words) const {
    std::vector<const TStock*> found;
    for (size_t i = 0; i < m_stocks.size(); ++i)
        if (Matches(i, words)) found.push_back(&m_stocks[i]);
    return found;
}

} // namespace qbm
