#include "stock/TStockReader.h"

#include "util/Text.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

namespace qbm {
namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;
// Nothing in a label database comes near ten metres; a larger figure is a damaged value.
constexpr double kLargestLength = 10000.0;
constexpr int kMostLabelsAcross = 1000;

struct TUnit {
    std::u16string_view suffix;
    double mm;
};
// A length without a unit is in points.
constexpr TUnit kUnits[] = {
    {u"pt", kMmPerPoint}, {u"in", 25.4}, {u"mm", 1.0}, {u"cm", 10.0}, {u"pc", 12 * kMmPerPoint}};

std::string Utf8(QStringView text) {
    return text.toString().toStdString();
}

// A length in millimetres: a number with an optional unit, blanks allowed between them.
std::optional<double> ParseLength(QStringView text) {
    text = text.trimmed();
    double factor = kMmPerPoint;
    for (const TUnit& unit : kUnits) {
        const QStringView suffix(unit.suffix.data(), static_cast<qsizetype>(unit.suffix.size()));
        if (text.endsWith(suffix, Qt::CaseInsensitive)) {
            text.chop(suffix.size());
            factor = unit.mm;
            break;
        }
    }
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0 || value * factor > kLargestLength) return std::nullopt;
    return value * factor;
}

// Reads the attributes of one element, remembering the first value that does not read.
class TAttributes {
public:
    explicit TAttributes(const QXmlStreamReader& r) : m_attrs(r.attributes()) {}

    std::string Text(const char* name) const { return Utf8(m_attrs.value(QLatin1StringView(name))); }
    bool Has(const char* name) const { return m_attrs.hasAttribute(QLatin1StringView(name)); }

    double Length(const char* name, std::optional<double> fallback = std::nullopt) {
        const QLatin1StringView key(name);
        // An empty value reads as a missing one: the database leaves some offsets empty for 0.
        if (m_attrs.value(key).trimmed().isEmpty()) {
            if (!fallback) Fail(std::string("no ") + name);
            return fallback.value_or(0);
        }
        const auto value = ParseLength(m_attrs.value(key));
        if (!value) Fail(std::string(name) + " \"" + Utf8(m_attrs.value(key)) + "\" is not a length");
        return value.value_or(0);
    }

    int Count(const char* name) {
        const QLatin1StringView key(name);
        bool ok = false;
        const int value = m_attrs.value(key).trimmed().toInt(&ok);
        if (!ok || value < 1 || value > kMostLabelsAcross)
            Fail(std::string(name) + " \"" + Utf8(m_attrs.value(key)) + "\" is not a label count");
        return ok ? value : 1;
    }

    const std::string& Fault() const { return m_fault; }

private:
    void Fail(std::string fault) {
        if (m_fault.empty()) m_fault = std::move(fault);
    }

    QXmlStreamAttributes m_attrs;
    std::string m_fault;
};

bool Is(const QXmlStreamReader& r, QStringView name) {
    return r.name() == name;
}

// One label element: its shape, size and layouts; `fault` gets the first thing wrong with it.
void ReadLabel(QXmlStreamReader& r, TStock& stock, std::string& fault) {
    TAttributes a(r);
    if (Is(r, u"Label-rectangle")) {
        stock.shape = TStockShape::ssRectangle;
        stock.labelWidth = a.Length("width");
        stock.labelHeight = a.Length("height");
        // A unit without its number ("in") is how the database writes a square corner; the label
        // programs that share the database read it as 0.
        const bool unitAlone = a.Text("round") == "in" || a.Text("round") == "mm" || a.Text("round") == "pt";
        stock.cornerRadius = unitAlone ? 0.0 : a.Length("round", 0.0);
    } else if (Is(r, u"Label-round")) {
        stock.shape = TStockShape::ssRound;
        stock.cornerRadius = a.Length("radius");
        stock.labelWidth = stock.labelHeight = 2 * stock.cornerRadius;
    } else if (Is(r, u"Label-ellipse")) {
        stock.shape = TStockShape::ssEllipse;
        stock.labelWidth = a.Length("width");
        stock.labelHeight = a.Length("height");
        stock.cornerRadius = std::min(stock.labelWidth, stock.labelHeight) / 2;
    } else if (Is(r, u"Label-cd")) {
        // A CD label may be cut straight at the sides (business-card CDs); its box is then smaller.
        stock.shape = TStockShape::ssCd;
        const double radius = a.Length("radius");
        stock.labelWidth = a.Length("width", 2 * radius);
        stock.labelHeight = a.Length("height", 2 * radius);
        stock.cornerRadius = std::min({radius, stock.labelWidth / 2, stock.labelHeight / 2});
    } else if (Is(r, u"Label-continuous")) {
        stock.shape = TStockShape::ssContinuous;
        stock.labelWidth = a.Length("width");
        stock.labelHeight = a.Length("height", 0.0);
    } else {
        fault = "unknown label kind " + Utf8(r.name());
        r.skipCurrentElement();
        return;
    }
    if (!a.Fault().empty()) fault = a.Fault();
    stock.cornerRadius = std::min({stock.cornerRadius, stock.labelWidth / 2, stock.labelHeight / 2});

    while (r.readNextStartElement()) {
        if (Is(r, u"Layout")) {
            TAttributes l(r);
            TStockLayout layout;
            layout.nx = l.Count("nx");
            layout.ny = l.Count("ny");
            layout.x0 = l.Length("x0", 0.0);
            layout.y0 = l.Length("y0", 0.0);
            layout.dx = l.Length("dx", 0.0);
            layout.dy = l.Length("dy", 0.0);
            if (fault.empty() && !l.Fault().empty()) fault = "layout: " + l.Fault();
            stock.layouts.push_back(layout);
        }
        r.skipCurrentElement();
    }
}

} // namespace

TStockReader::TStockReader() {
    m_papers["A4"] = {"A4", 210.0, 297.0};
    m_papers["US-Letter"] = {"US Letter", 215.9, 279.4};
}

void TStockReader::ReadPaperSizes(std::string_view xml, const std::string& fileName) {
    QXmlStreamReader r(QByteArray::fromRawData(xml.data(), static_cast<qsizetype>(xml.size())));
    std::map<std::string, TStockPaper> papers;
    std::vector<std::string> faults;
    if (r.readNextStartElement() && Is(r, u"Glabels-paper-sizes")) {
        while (r.readNextStartElement()) {
            if (Is(r, u"Paper-size")) {
                TAttributes a(r);
                const std::string id = a.Text("id");
                TStockPaper paper{a.Has("_name") ? a.Text("_name") : a.Text("name"), a.Length("width"),
                                  a.Length("height")};
                if (paper.name.empty()) paper.name = id;
                if (id.empty() || !a.Fault().empty())
                    faults.push_back(fileName + ": paper size \"" + id +
                                     "\": " + (id.empty() ? std::string("no id") : a.Fault()));
                else
                    papers.emplace(id, paper);
            }
            r.skipCurrentElement();
        }
    } else if (!r.hasError()) {
        m_problems.push_back(fileName + ": not a paper size file");
        return;
    }
    if (r.hasError()) {
        m_problems.push_back(fileName + ": line " + std::to_string(r.lineNumber()) + ": " +
                             r.errorString().toStdString());
        return;
    }
    for (auto& [id, paper] : papers) m_papers[id] = paper;
    m_problems.insert(m_problems.end(), faults.begin(), faults.end());
}

void TStockReader::ReadTemplates(std::string_view xml, const std::string& fileName) {
    QXmlStreamReader r(QByteArray::fromRawData(xml.data(), static_cast<qsizetype>(xml.size())));
    std::vector<TStock> stocks;
    std::vector<TEquivalent> equivalents;
    std::vector<std::string> problems;

    if (!r.readNextStartElement() || !Is(r, u"Glabels-templates")) {
        if (r.hasError())
            m_problems.push_back(fileName + ": line " + std::to_string(r.lineNumber()) + ": " +
                                 r.errorString().toStdString());
        else
            m_problems.push_back(fileName + ": not a label stock file");
        return;
    }
    while (r.readNextStartElement()) {
        if (!Is(r, u"Template")) {
            r.skipCurrentElement();
            continue;
        }
        TAttributes a(r);
        TStock stock;
        stock.file = fileName;
        stock.brand = a.Text("brand");
        stock.part = a.Text("part");
        stock.description = a.Has("_description") ? a.Text("_description") : a.Text("description");
        const std::string size = a.Text("size");
        const std::string equiv = a.Text("equiv");
        std::vector<TEquivalent> aliases;
        std::string fault;
        bool haveLabel = false;
        while (r.readNextStartElement()) {
            if (r.name().startsWith(u"Label-")) {
                if (haveLabel) {
                    ++stock.labelKinds;
                    r.skipCurrentElement();
                } else {
                    ReadLabel(r, stock, fault);
                    haveLabel = true;
                }
            } else if (Is(r, u"Equiv") || Is(r, u"Alias")) {
                // The same sheet sold under another number, named inside its template.
                TAttributes e(r);
                aliases.push_back({e.Has("brand") ? e.Text("brand") : stock.brand, e.Text("part"), stock.part,
                                   stock.description, fileName});
                r.skipCurrentElement();
            } else {
                r.skipCurrentElement();
            }
        }
        const std::string name = "\"" + stock.Name() + "\"";
        if (stock.brand.empty() || stock.part.empty()) {
            problems.push_back(fileName + ": a template without brand or part (" + name + ")");
            continue;
        }
        if (!haveLabel) {
            if (equiv.empty())
                problems.push_back(fileName + ": " + name + " has no label");
            else
                equivalents.push_back({stock.brand, stock.part, equiv, stock.description, fileName});
            continue;
        }
        if (fault.empty() && stock.IsSheet()) {
            if (size.empty() || size == "Other") {
                TAttributes page(a);
                stock.paperName = "Other";
                stock.pageWidth = page.Length("width");
                stock.pageHeight = page.Length("height");
                if (!page.Fault().empty()) fault = "sheet " + page.Fault();
            } else if (const auto it = m_papers.find(size); it != m_papers.end()) {
                stock.paperName = it->second.name;
                stock.pageWidth = it->second.width;
                stock.pageHeight = it->second.height;
            } else {
                fault = "unknown paper size \"" + size + "\"";
            }
            if (fault.empty() && stock.layouts.empty()) fault = "no layout";
            if (fault.empty() && (stock.labelWidth <= 0 || stock.labelHeight <= 0)) fault = "an empty label";
            if (fault.empty() && (stock.pageWidth <= 0 || stock.pageHeight <= 0)) fault = "an empty sheet";
        }
        if (!fault.empty()) {
            problems.push_back(fileName + ": " + name + ": " + fault);
            continue;
        }
        for (TEquivalent& alias : aliases)
            if (!alias.part.empty()) equivalents.push_back(std::move(alias));
        stocks.push_back(std::move(stock));
    }
    if (r.hasError()) {
        m_problems.push_back(fileName + ": line " + std::to_string(r.lineNumber()) + ": " +
                             r.errorString().toStdString());
        return;
    }
    m_stocks.insert(m_stocks.end(), std::make_move_iterator(stocks.begin()),
                    std::make_move_iterator(stocks.end()));
    m_equivalents.insert(m_equivalents.end(), equivalents.begin(), equivalents.end());
    m_problems.insert(m_problems.end(), problems.begin(), problems.end());
}

std::vector<TStock> TStockReader::Finish() {
    const auto key = [](const std::string& brand, const std::string& part) {
        return LowerCase(brand) + '\n' + LowerCase(part);
    };
    std::vector<TStock> result;
    result.reserve(m_stocks.size() + m_equivalents.size());
    std::unordered_map<std::string, size_t> index;
    const auto add = [&](TStock stock) {
        const auto [it, added] = index.emplace(key(stock.brand, stock.part), result.size());
        if (added)
            result.push_back(std::move(stock));
        else
            m_problems.push_back(stock.file + ": \"" + stock.Name() + "\" is listed again (" +
                                 result[it->second].file + "); the first is kept");
    };
    for (TStock& stock : m_stocks) add(std::move(stock));
    m_stocks.clear();

    // An equivalent may name another equivalent: each sheet that becomes known resolves the
    // equivalents waiting for it, so a long chain costs no more than its length.
    std::vector<TEquivalent> open = std::move(m_equivalents);
    m_equivalents.clear();
    std::unordered_map<std::string, std::vector<size_t>> waiting;
    for (size_t i = 0; i < open.size(); ++i) waiting[key(open[i].brand, open[i].of)].push_back(i);
    std::vector<bool> resolved(open.size(), false);
    std::vector<size_t> known; // sheets of `result` whose equivalents are still to resolve
    for (size_t i = 0; i < result.size(); ++i) known.push_back(i);
    for (size_t next = 0; next < known.size(); ++next) {
        const size_t sheet = known[next];
        const auto it = waiting.find(key(result[sheet].brand, result[sheet].part));
        if (it == waiting.end()) continue;
        const std::vector<size_t> equivalents = std::move(it->second);
        waiting.erase(it);
        for (const size_t i : equivalents) {
            const TEquivalent& e = open[i];
            resolved[i] = true;
            TStock stock = result[sheet];
            stock.brand = e.brand;
            stock.part = e.part;
            stock.equivalentOf = result[sheet].part;
            if (!e.description.empty()) stock.description = e.description;
            stock.file = e.file;
            const size_t before = result.size();
            add(std::move(stock));
            if (result.size() > before) known.push_back(before);
        }
    }
    std::vector<TEquivalent> unresolved;
    for (size_t i = 0; i < open.size(); ++i)
        if (!resolved[i]) unresolved.push_back(std::move(open[i]));
    open = std::move(unresolved);
    for (const TEquivalent& e : open)
        m_problems.push_back(e.file + ": \"" + e.brand + " " + e.part + "\" is an equivalent of \"" + e.of +
                             "\", which is not in the database");

    std::sort(result.begin(), result.end(), [](const TStock& a, const TStock& b) {
        const std::string la = LowerCase(a.brand), lb = LowerCase(b.brand);
        if (la != lb) return la < lb;
        return LowerCase(a.part) < LowerCase(b.part);
    });
    return result;
}

} // namespace qbm
