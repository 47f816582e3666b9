#include "design/DesignJson.h"
#include "design/DesignJsonKeys.h"
#include "design/DesignPicture.h"
#include "design/DesignSymbology.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>

namespace qbm {

namespace {

// Far beyond any label sheet, near enough that millimetres converted to dots stay in range.
constexpr double kLargestMm = 10000;
constexpr double kLargestPt = 1000;

class TObjectReader {
public:
    TObjectReader(const QJsonObject& json, int number) : m_json(json), m_number(number) {}

    TDesignObject Read(const TPictureLoader& loadPicture) {
        const QJsonValue type = m_json.value("type");
        if (!type.isString()) Fail("\"type\" is missing");
        const std::optional<TDesignKind> kind = DesignKindByName(type.toString().toStdString());
        if (!kind) Fail("unknown type \"" + type.toString().toStdString() + "\"");
        m_object.kind = *kind;
        m_kindName = DesignKindName(*kind);
        CheckKeys();

        const bool line = *kind == TDesignKind::Line;
        m_object.xMm = Millimetres("x_mm", -kLargestMm, true);
        m_object.yMm = Millimetres("y_mm", -kLargestMm, true);
        // A line may be flat: it runs from one corner of its box to the other.
        m_object.widthMm = Millimetres("width_mm", 0, true, !line);
        m_object.heightMm = Millimetres("height_mm", 0, true, !line);
        if (m_json.contains("rotation")) {
            const double r = Number("rotation", 0, 270);
            if (r != 0 && r != 90 && r != 180 && r != 270) Fail("\"rotation\" must be 0, 90, 180 or 270");
            m_object.rotation = static_cast<int>(r);
        }
        if (*kind == TDesignKind::Text || *kind == TDesignKind::Barcode) {
            m_object.value = String("value", *kind == TDesignKind::Barcode);
            if (m_json.contains("font")) m_object.font = String("font", true);
            if (m_json.contains("size_pt")) m_object.sizePt = Number("size_pt", 0, kLargestPt, true);
        }
        ReadBool("bold", m_object.bold);
        ReadBool("italic", m_object.italic);
        ReadBool("shrink_to_fit", m_object.shrinkToFit);
        ReadBool("show_text", m_object.showText);
        if (m_json.contains("align")) m_object.align = Align();
        if (m_json.contains("color")) m_object.color = Color("color");
        if (*kind == TDesignKind::Barcode) {
            m_object.symbology = String("symbology", true);
            if (!DesignSymbologyByName(m_object.symbology))
                Fail("unknown symbology \"" + m_object.symbology + "\"");
        }
        if (*kind == TDesignKind::Image) {
            const std::string file = String("file", true);
            // A picture that cannot be read is named with its object, whoever refused it.
            try {
                m_object.picture = PictureFromBytes(loadPicture(file), file);
            } catch (const std::runtime_error& e) {
                Fail(e.what());
            }
        }
        if (m_json.contains("line_mm")) m_object.lineMm = Millimetres("line_mm", 0, true);
        if (m_json.contains("fill")) m_object.fill = Fill();
        if (m_json.contains("radius_mm")) m_object.cornerRadiusMm = Millimetres("radius_mm", 0, true);
        return m_object;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        std::string where = "object " + std::to_string(m_number);
        if (!m_kindName.empty()) where += " (" + m_kindName + ")";
        throw EDesignError(where + ": " + what);
    }

    void CheckKeys() const {
        for (auto it = m_json.begin(); it != m_json.end(); ++it) {
            const std::string key = it.key().toStdString();
            const TDesignKey* known = nullptr;
            for (const TDesignKey& k : kDesignKeys)
                if (k.name == key) known = &k;
            if (!known) Fail("unknown key \"" + key + "\"");
            if (!(known->kinds & KindBit(m_object.kind))) Fail("a " + m_kindName + " has no \"" + key + "\"");
        }
    }

    double Number(const char* key, double lowest, double highest, bool aboveLowest = false) const {
        const QJsonValue v = m_json.value(key);
        if (v.isUndefined()) Fail(std::string("\"") + key + "\" is missing");
        if (!v.isDouble()) Fail(std::string("\"") + key + "\" must be a number");
        const double d = v.toDouble();
        if (!std::isfinite(d) || d < lowest || d > highest || (aboveLowest && d == lowest)) {
            const std::string range = aboveLowest ? "above " + FormatLimit(lowest) + " and at most "
                                                  : "from " + FormatLimit(lowest) + " to ";
            Fail(std::string("\"") + key + "\" must be " + range + FormatLimit(highest));
        }
        return d;
    }

    double Millimetres(const char* key, double lowest, bool required, bool aboveLowest = false) const {
        if (!required && !m_json.contains(key)) return 0;
        return Number(key, lowest, kLargestMm, aboveLowest);
    }

    static std::string FormatLimit(double v) { return std::to_string(static_cast<long long>(v)); }

    std::string String(const char* key, bool required) const {
        const QJsonValue v = m_json.value(key);
        if (v.isUndefined()) {
            if (required) Fail(std::string("\"") + key + "\" is missing");
            return {};
        }
        if (!v.isString()) Fail(std::string("\"") + key + "\" must be a text");
        return v.toString().toStdString();
    }

    void ReadBool(const char* key, bool& out) const {
        if (!m_json.contains(key)) return;
        const QJsonValue v = m_json.value(key);
        if (!v.isBool()) Fail(std::string("\"") + key + "\" must be true or false");
        out = v.toBool();
    }

    TDesignAlign Align() const {
        const std::string a = String("align", true);
        if (a == "left") return TDesignAlign::Left;
        if (a == "center") return TDesignAlign::Center;
        if (a == "right") return TDesignAlign::Right;
        Fail("\"align\" must be \"left\", \"center\" or \"right\"");
    }

    TColor Color(const char* key) const {
        const std::string c = String(key, true);
        const auto hex = [](char h) {
            if (h >= '0' && h <= '9') return h - '0';
            if (h >= 'a' && h <= 'f') return h - 'a' + 10;
            if (h >= 'A' && h <= 'F') return h - 'A' + 10;
            return -1;
        };
        bool valid = c.size() == 7 && c[0] == '#';
        for (size_t i = 1; valid && i < 7; ++i) valid = hex(c[i]) >= 0;
        if (!valid) Fail(std::string("\"") + key + "\" must be a colour as #RRGGBB");
        const auto byte = [&](size_t i) { return hex(c[i]) * 16 + hex(c[i + 1]); };
        return RGBColor(byte(1), byte(3), byte(5));
    }

    std::optional<TColor> Fill() const {
        if (m_json.value("fill").toString() == "none") return std::nullopt;
        return Color("fill");
    }

    const QJsonObject& m_json;
    int m_number;
    std::string m_kindName;
    TDesignObject m_object;
};

} // namespace

TLabelDesign DesignFromJson(std::string_view json, const TPictureLoader& loadPicture) {
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())), &error);
    if (error.error != QJsonParseError::NoError)
        throw EDesignError("the design is not valid JSON (" + error.errorString().toStdString() +
                           " at character " + std::to_string(error.offset) + ")");
    if (!document.isObject()) throw EDesignError("the design must be a JSON object with \"objects\"");
    const QJsonObject root = document.object();
    for (auto it = root.begin(); it != root.end(); ++it)
        if (it.key() != "objects") throw EDesignError("unknown key \"" + it.key().toStdString() + "\"");
    if (!root.value("objects").isArray()) throw EDesignError("\"objects\" must be a list of objects");

    TLabelDesign design;
    const QJsonArray objects = root.value("objects").toArray();
    for (qsizetype i = 0; i < objects.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        if (!objects[i].isObject())
            throw EDesignError("object " + std::to_string(number) + " is not a JSON object");
        const QJsonObject object = objects[i].toObject();
        design.objects.push_back(TObjectReader(object, number).Read(loadPicture));
    }
    return design;
}

} // namespace qbm
