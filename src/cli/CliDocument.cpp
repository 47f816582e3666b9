#include "cli/CliDocument.h"

#include "cli/CliCommand.h"
#include "cli/CliLibrary.h"

namespace qbm::cli {

Options ProjectOptions() {
    return {LibraryOption(),
            {"--kind", "linear|2d", "the code tab whose labels are used: linear (default) or 2d"}};
}

TBarcodeKind KindOption(const Args& args) {
    const std::string kind = args.Value("--kind", "linear");
    if (kind != "linear" && kind != "2d") throw UsageError("--kind must be linear or 2d, not '" + kind + "'");
    return kind == "2d" ? TBarcodeKind::bk2D : TBarcodeKind::bkLinear;
}

bool OpenForRun(const Args& args, const std::string& path, TCliDocument& run, TPrinter* printer,
                bool previewShown) {
    const TBarcodeKind kind = KindOption(args);
    run.document = std::make_unique<TLabelDocument>(run.prompts, run.dialogs, LibraryPathFor(args));
    TLabelDocument& doc = *run.document;
    doc.SetPreviewShown(previewShown);
    // Nothing is drawn before the project is read: no template is chosen yet and the kind is linear.
    doc.SetPrinter(printer);
    doc.SetKind(kind);
    if (!doc.Load(path)) return false;
    // A run prints only what the project stores: not the defaults in place of a template that is gone
    // (the load said so), nor a first label whose code the symbology cannot draw (said as well).
    if (doc.Kind() == TBarcodeKind::bkLinear && (!doc.Project().HasTemplate() || doc.CodeRefused()))
        return false;
    return true;
}

} // namespace qbm::cli
