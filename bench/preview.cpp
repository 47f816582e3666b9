// What the page preview costs: a page of 21 EAN-13 labels (3 x 7 on A4, each label its own value,
// digits and caption) drawn by the print loop at screen size, 96 pixels an inch (100 %) and at a
// fitted 75 pixels an inch. The target is under 50 ms a page. Beside it, in the same run, the
// preview as it was before: the one label picture stretched into each of the 21 cells of a picture
// of the same size, which showed neither the values nor the digits.

#include "BenchDocument.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

struct Bench : qbm::bench::TBenchDocument {
    Bench() : TBenchDocument("qbm-bench-preview") {
        doc->SetColumn(3);
        doc->SetLinage(7);
        for (const auto side : {qbm::TMarginSide::msLeft, qbm::TMarginSide::msRight}) doc->SetMargin(side, 7);
        for (const auto side : {qbm::TMarginSide::msTop, qbm::TMarginSide::msBottom})
            doc->SetMargin(side, 15);
        doc->SetFixedCode("5901234123457");
        doc->SetExtCaption("Shelf 12");
        doc->SetFixedCodeAmount(42); // two full pages
    }
};

Bench& TheBench() {
    static Bench bench;
    return bench;
}

// Turns between the two pages, so every iteration draws a whole page of 21 labels.
void BM_Preview_PageOf21Labels(benchmark::State& state) {
    Bench& b = TheBench();
    b.doc->SetPreviewPixelsPerInch(static_cast<double>(state.range(0)));
    int page = 1;
    for (auto _ : state) {
        b.doc->ShowPreviewPage(page = 3 - page);
        benchmark::DoNotOptimize(b.doc->PagePicture().Width());
    }
    const bool complete = b.doc->PreviewProblem().empty() && b.doc->PreviewPageCount() == 2;
    state.SetLabel(complete ? "target: under 50 ms" : "labels missing: " + b.doc->PreviewProblem());
}
BENCHMARK(BM_Preview_PageOf21Labels)->Arg(96)->Arg(75)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The earlier preview at the same picture size: one label picture, stretched into every cell.
void BM_Preview_StretchedLabelPictureBaseline(benchmark::State& state) {
    Bench& b = TheBench();
    b.doc->SetPreviewPixelsPerInch(static_cast<double>(state.range(0)));
    const qbm::TBitmap& label = b.doc->LabelPicture();
    const qbm::TPreviewLayout& p = b.doc->PreviewLayout();
    const qbm::TPage paper = b.doc->PreviewPaper();
    const double sx = p.ScaleX(paper), sy = p.ScaleY(paper);
    const int w = static_cast<int>(label.Width() * sx), h = static_cast<int>(label.Height() * sy);
    for (auto _ : state) {
        qbm::TBitmap picture(p.pictureWidth, p.pictureHeight);
        qbm::TCanvas& c = picture.Canvas();
        c.Pen() = {qbm::clSilver, 1, qbm::TPenStyle::psSolid};
        c.Rectangle(static_cast<int>(p.grid.marginLeft * sx), static_cast<int>(p.grid.marginTop * sy),
                    static_cast<int>((paper.width - p.grid.marginRight) * sx),
                    static_cast<int>((paper.height - p.grid.marginBottom) * sy));
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 3; ++col) {
                const int left = static_cast<int>(p.grid.CellLeft(col) * sx);
                const int top = static_cast<int>(p.grid.CellTop(row) * sy);
                c.StretchDraw({left, top, left + w, top + h}, label);
            }
        benchmark::DoNotOptimize(picture.Pixel(0, 0));
    }
}
BENCHMARK(BM_Preview_StretchedLabelPictureBaseline)
    ->Arg(96)
    ->Arg(75)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    qbm::EnsureGuiApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
