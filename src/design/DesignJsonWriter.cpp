#include "design/DesignJson.h"
#include "design/DesignJsonKeys.h"

#include <charconv>
#include <cstdio>

namespace qbm {

namespace {

const char* AlignName(TDesignAlign align) {
    switch (align) {
    case TDesignAlign::Center:
        return "center";
    case TDesignAlign::Right:
        return "right";
    case TDesignAlign::Left:
        break;
    }
    return "left";
}

std::string Quoted(std::string_view s) {
    std::string out = "\"";
    for (const char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + '"';
}

// The shortest text that reads back as the same number, so that a design survives any number of
// round trips unchanged.
std::string Number(double v) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

std::string Color(TColor c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return Quoted(buffer);
}

std::string Value(const TDesignObject& o, std::string_view key, const std::string& pictureFile) {
    if (key == "type") return Quoted(DesignKindName(o.kind));
    if (key == "x_mm") return Number(o.xMm);
    if (key == "y_mm") return Number(o.yMm);
    if (key == "width_mm") return Number(o.widthMm);
    if (key == "height_mm") return Number(o.heightMm);
    if (key == "rotation") return std::to_string(o.rotation);
    if (key == "value") return Quoted(o.value);
    if (key == "font") return Quoted(o.font);
    if (key == "size_pt") return Number(o.sizePt);
    if (key == "bold") return o.bold ? "true" : "false";
    if (key == "italic") return o.italic ? "true" : "false";
    if (key == "align") return Quoted(AlignName(o.align));
    if (key == "shrink_to_fit") return o.shrinkToFit ? "true" : "false";
    if (key == "color") return Color(o.color);
    if (key == "symbology") return Quoted(o.symbology);
    if (key == "show_text") return o.showText ? "true" : "false";
    if (key == "file") return Quoted(pictureFile);
    if (key == "line_mm") return Number(o.lineMm);
    if (key == "fill") return o.fill ? Color(*o.fill) : Quoted("none");
    return Number(o.cornerRadiusMm);
}

} // namespace

std::string DesignToJson(const TLabelDesign& design, const TPictureSaver& savePicture) {
    std::string out = "{\n  \"objects\": [";
    for (size_t i = 0; i < design.objects.size(); ++i) {
        const TDesignObject& o = design.objects[i];
        const std::string pictureFile =
            o.kind == TDesignKind::Image ? savePicture(o.picture, static_cast<int>(i + 1)) : std::string();
        out += i == 0 ? "\n    {" : ",\n    {";
        bool first = true;
        for (const TDesignKey& key : kDesignKeys) {
            if (!(key.kinds & KindBit(o.kind))) continue;
            out += first ? "" : ", ";
            first = false;
            out += Quoted(key.name) + ": " + Value(o, key.name, pictureFile);
        }
        out += "}";
    }
    out += design.objects.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

} // namespace qbm
