#include "app/TProjectSettings.h"

namespace qbm {

TProjectSettings TProjectSettings::Capture(const TLabelProject& p) {
    TProjectSettings s;
    s.templateName = p.TemplateName();
    s.linearSource = p.LinearSource();
    s.fixedCode = p.FixedCode();
    s.extCaption = p.ExtCaption();
    s.fixedCodeAmount = p.FixedCodeAmount();
    s.codeField = p.CodeField();
    s.capField = p.CapField();
    s.source2D = p.Source2D();
    s.codeList2D = p.CodeList2D();
    s.text2D = p.Text2D();
    s.amount2D = p.Amount2D();
    s.format2D = p.Format2D();
    s.settings2D = p.Settings2D();
    s.printPreferences = p.PrintPreferences();
    s.symbolOptions2D = p.SymbolOptions2D();
    s.linearCodeList = p.LinearCodeList();
    s.linage = p.Linage();
    s.column = p.Column();
    s.marginLeft = p.MarginLeft();
    s.marginRight = p.MarginRight();
    s.marginTop = p.MarginTop();
    s.marginBottom = p.MarginBottom();
    s.splitMarks = p.SplitMarks();
    s.orientation = p.Orientation();
    s.stock = p.Stock();
    return s;
}

void TProjectSettings::RestoreInto(TLabelProject& p) const {
    p.SetTemplateName(templateName);
    p.SetLinearSource(linearSource);
    p.SetFixedCode(fixedCode);
    p.SetExtCaption(extCaption);
    p.SetFixedCodeAmount(fixedCodeAmount);
    p.SetCodeField(codeField);
    p.SetCapField(capField);
    p.SetSource2D(source2D);
    p.CodeList2D() = codeList2D;
    p.SetText2D(text2D);
    p.SetAmount2D(amount2D);
    p.SetFormat2D(format2D);
    p.SetSettings2D(settings2D);
    p.SetPrintPreferences(printPreferences);
    p.SetSymbolOptions2D(symbolOptions2D);
    p.LinearCodeList() = linearCodeList;
    p.SetLinage(linage);
    p.SetColumn(column);
    p.SetMarginLeft(marginLeft);
    p.SetMarginRight(marginRight);
    p.SetMarginTop(marginTop);
    p.SetMarginBottom(marginBottom);
    p.SetSplitMarks(splitMarks);
    p.SetOrientation(orientation);
    // After the layout values, whose changes drop a stock.
    p.SetStock(stock);
}

} // namespace qbm
