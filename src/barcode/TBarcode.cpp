#include "barcode/TBarcode.h"

#include "barcode/Encoders.h"
#include "barcode/LinearSymbolGeometry.h"
#include "util/Rounding.h"
#include "util/Text.h"

#include <algorithm>
#include <cmath>

namespace qbm {
namespace {

int8_t ClampToInt8(int v) {
    return static_cast<int8_t>(std::clamp(v, -128, 127));
}

} // namespace

TBarcode::TBarcode() = default;

void TBarcode::Assign(const TPersistent* source) {
    const auto* src = dynamic_cast<const TBarcode*>(source);
    if (!src || src == this) return;
    m_height = src->m_height;
    m_text = src->m_text;
    m_top = src->m_top;
    m_left = src->m_left;
    m_modul = src->m_modul;
    m_ratio = src->m_ratio;
    m_typ = src->m_typ;
    m_checksum = src->m_checksum;
    m_showText = src->m_showText;
    m_angle = src->m_angle;
    m_color = src->m_color;
    m_colorBar = src->m_colorBar;
    m_checkSumMethod = src->m_checkSumMethod;
    m_onChange = src->m_onChange;
}

void TBarcode::NotifyChange() {
    if (m_onChange) m_onChange(*this);
}

void TBarcode::SetHeight(int value) {
    if (value == m_height) return;
    m_height = value;
    NotifyChange();
}

void TBarcode::SetText(const std::string& value) {
    if (value == m_text) return;
    m_text = value;
    NotifyChange();
}

void TBarcode::SetTop(int value) {
    if (value == m_top) return;
    m_top = value;
    NotifyChange();
}

void TBarcode::SetLeft(int value) {
    if (value == m_left) return;
    m_left = value;
    NotifyChange();
}

void TBarcode::SetModul(int value) {
    // Values outside the component's range are ignored; a valid value always notifies.
    if (value < 1 || value > kMaxModul) return;
    m_modul = value;
    NotifyChange();
}

void TBarcode::SetRatio(double value) {
    if (value == m_ratio) return;
    m_ratio = value;
    NotifyChange();
}

void TBarcode::SetTyp(TBarcodeType value) {
    if (value == m_typ) return;
    m_typ = value;
    NotifyChange();
}

void TBarcode::SetChecksum(bool value) {
    if (value == m_checksum) return;
    m_checksum = value;
    NotifyChange();
}

void TBarcode::SetShowText(TBarcodeOption value) {
    if (value == m_showText) return;
    m_showText = value;
    NotifyChange();
}

void TBarcode::SetAngle(double value) {
    if (value == m_angle) return;
    m_angle = value;
    NotifyChange();
}

void TBarcode::SetShowTextFont(const TFont& font) {
    m_showTextFont.Assign(font);
    NotifyChange();
}

void TBarcode::SetExtCapFont(const TFont& font) {
    m_extCapFont.Assign(font);
    NotifyChange();
}

void TBarcode::SetShowTextPosition(TShowTextPosition value) {
    if (value == m_showTextPosition) return;
    m_showTextPosition = value;
    NotifyChange();
}

const char* TBarcode::TypeName() const {
    return m_typ < kBarcodeTypeCount ? BCdata[m_typ].Name : "";
}

void TBarcode::ComputeModuleWidths() {
    switch (m_typ) {
    case bcCode_2_5_matrix:
        if (m_ratio < 2.25) SetRatio(2.25);
        if (m_ratio > 3.0) SetRatio(3.0);
        break;
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
    case bcCode93:
    case bcCode93Extended:
    case bcCodeMSI:
    case bcCodePostNet:
    case bcCodeEAN128A:
    case bcCodeEAN128B:
    case bcCodeEAN128C:
    case bcCode128Auto:
    // The geometry types have no wide elements to set a ratio for.
    case bcCodeDataBar:
    case bcCodeDataBarStacked:
    case bcCodeDataBarLimited:
    case bcCodeDataBarExpanded:
    case bcCodeIMb:
        break;
    default:
        if (m_ratio < 2.0) SetRatio(2.0);
        if (m_ratio > 3.0) SetRatio(3.0);
        break;
    }
    // Widths beyond the 8-bit range are clamped to it rather than wrapping to negative widths; so is
    // a ratio a damaged template made huge or not a number, before it reaches integer arithmetic.
    double wide = m_modul * m_ratio;
    if (std::isnan(wide)) wide = 0;
    const int w2 = Rnd(std::clamp(wide, -128.0, 127.0));
    m_w[0] = ClampToInt8(m_modul);
    m_w[1] = ClampToInt8(w2);
    m_w[2] = ClampToInt8(m_w[1] * 3 / 2);
    m_w[3] = ClampToInt8(m_w[1] * 2);
}

bool TBarcode::DrawsGeometry() const {
    return IsGeometryType(m_typ);
}

TQuietZone TBarcode::QuietZone() const {
    return DrawsGeometry() ? GeometryQuietZone(m_geometry) : LinearQuietZone(m_typ);
}

std::string TBarcode::BuildPattern() {
    ComputeModuleWidths();
    if (DrawsGeometry()) {
        m_text = Trim(m_text);
        // No code yet draws nothing, as an empty pattern does; the checks of a value refuse it.
        m_geometry = m_text.empty() ? TSymbolGeometry{} : EncodeLinearGeometry(m_typ, m_text);
        return {};
    }
    if (m_typ < kBarcodeTypeCount && BCdata[m_typ].Num) m_text = Trim(m_text);
    std::string pattern = EncodeLinear(EncoderInput());
    // Text holds what the symbol carries, as the text under the bars shows it.
    if (std::optional<std::string> completed = CompletedText(EncoderInput())) m_text = std::move(*completed);
    return pattern;
}

void TBarcode::ThrowUnknownElement() {
    throw EBarcodeError("System internal Error");
}

int TBarcode::PatternWidth(const std::string& pattern) const {
    if (DrawsGeometry()) return Rnd(SymbolExtent(m_geometry).width * m_modul);
    int w = 0;
    for (const char c : pattern) w += ElementWidth(c).width;
    return w;
}

int TBarcode::Width() {
    return PatternWidth(BuildPattern());
}

void TBarcode::SetWidth(int value) {
    const int w = Width();
    if (w > 0) SetModul(static_cast<int>(static_cast<int64_t>(m_modul) * value / w));
}

} // namespace qbm
