#include "project/TLabelProject.h"

#include <algorithm>

namespace qbm {

TLabelProject::TLabelProject() {
    RebuildFieldList(kFieldPlaceholderStart);
}

void TLabelProject::NewProject() {
    m_linearCodeList.clear();
    m_linearSource = TLinearSource::lsConstant;
    m_splitMarks = true;
    m_fixedCode.clear();
    m_linage = 2;
    m_column = 2;
    m_marginLeft = m_marginRight = m_marginTop = m_marginBottom = 10;
    m_stock.reset();
    m_design.reset();
    m_fixedCodeAmount = 1;
    m_codeList2D.clear();
    m_text2D.clear();
    m_format2D = 0;
    m_symbolOptions2D = {};
    m_amount2D = 1;
    m_printPreferences.verify = true;
}

void TLabelProject::SetFixedCodeAmount(int amount) {
    m_fixedCodeAmount = std::clamp(amount, kMinAmount, kMaxAmount);
}

void TLabelProject::RebuildFieldList(std::string_view placeholder) {
    m_fieldList = m_datasheet.ColumnNames();
    m_fieldList[0] = placeholder;
    m_codeField = ValidFieldIndex(m_codeField);
    m_capField = ValidFieldIndex(m_capField);
}

int TLabelProject::ValidFieldIndex(int index) const {
    return index >= 0 && static_cast<size_t>(index) < m_fieldList.size() ? index : -1;
}

std::string TLabelProject::CodeFieldName() const {
    return m_codeField >= 0 ? m_fieldList[m_codeField] : std::string();
}

std::string TLabelProject::CapFieldName() const {
    return m_capField >= 0 ? m_fieldList[m_capField] : std::string();
}

void TLabelProject::SetAmount2D(int amount) {
    m_amount2D = std::clamp(amount, kMinAmount, kMaxAmount);
}

namespace {
// Sets a layout value and reports whether it changed.
bool Store(int& field, int value) {
    if (field == value) return false;
    field = value;
    return true;
}
} // namespace

void TLabelProject::SetLinage(int rows) {
    if (Store(m_linage, std::clamp(rows, kMinLinage, kMaxLinage))) m_stock.reset();
}

void TLabelProject::SetColumn(int columns) {
    if (Store(m_column, std::clamp(columns, kMinColumn, kMaxColumn))) m_stock.reset();
}

void TLabelProject::SetMarginLeft(int mm) {
    if (Store(m_marginLeft, std::clamp(mm, kMinMargin, kMaxMargin))) m_stock.reset();
}

void TLabelProject::SetMarginRight(int mm) {
    if (Store(m_marginRight, std::clamp(mm, kMinMargin, kMaxMargin))) m_stock.reset();
}

void TLabelProject::SetMarginTop(int mm) {
    if (Store(m_marginTop, std::clamp(mm, kMinMargin, kMaxMargin))) m_stock.reset();
}

void TLabelProject::SetMarginBottom(int mm) {
    if (Store(m_marginBottom, std::clamp(mm, kMinMargin, kMaxMargin))) m_stock.reset();
}

double TLabelProject::MarginLeftMm() const {
    return m_stock ? m_stock->marginLeft / 100.0 : m_marginLeft;
}
double TLabelProject::MarginRightMm() const {
    return m_stock ? m_stock->marginRight / 100.0 : m_marginRight;
}
double TLabelProject::MarginTopMm() const {
    return m_stock ? m_stock->marginTop / 100.0 : m_marginTop;
}
double TLabelProject::MarginBottomMm() const {
    return m_stock ? m_stock->marginBottom / 100.0 : m_marginBottom;
}

} // namespace qbm
