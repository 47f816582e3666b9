// What a drag on the label designer costs: a label of 20 objects (texts with merge fields, barcodes,
// boxes, ellipses, lines) with 3 of them selected and dragged; each mouse move snaps the move, draws
// the label with the moved objects at the canvas's zoom and paints the canvas (rulers, grid, handles).
// At 60 frames a second a frame has 16.7 ms. Beside it, in the same run: the label drawn once by the
// print painter at the same resolution, the least any redraw costs.

#include "BenchDocument.h"
#include "app/TDesignEditor.h"
#include "gui/TDesignCanvas.h"
#include "output/TDesignPainter.h"
#include "surface/TBitmap.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

constexpr double kZoom = 2;

struct Bench : qbm::bench::TBenchDocument {
    qbm::TDesignEditor editor{*doc};
    qbm::TDesignCanvas canvas;

    Bench() : TBenchDocument("qbm-bench-designer") {
        doc->SetFixedCode("5901234123457");
        doc->SetExtCaption("Shelf 12");
        qbm::TLabelDesign design;
        const qbm::TDesignKind kinds[] = {qbm::TDesignKind::Text, qbm::TDesignKind::Barcode,
                                          qbm::TDesignKind::Rect, qbm::TDesignKind::Ellipse,
                                          qbm::TDesignKind::Line};
        for (int i = 0; i < 20; ++i) {
            qbm::TDesignObject o;
            o.kind = kinds[i % 5];
            o.xMm = 2 + (i % 4) * 22;
            o.yMm = 2 + (i / 4) * 25;
            o.widthMm = 20;
            o.heightMm = o.kind == qbm::TDesignKind::Line ? 0 : 10;
            o.value = o.kind == qbm::TDesignKind::Barcode ? "{Code}" : "{Caption} #{Counter}";
            o.symbology = i % 2 ? "bcCodeEAN13" : "qrcode";
            if (o.kind == qbm::TDesignKind::Barcode) o.heightMm = 20;
            if (o.kind == qbm::TDesignKind::Rect) o.fill = qbm::clSilver;
            design.objects.push_back(o);
        }
        doc->RestoreDesign(design);
        editor.Select({0, 1, 2});
        canvas.SetEditor(&editor);
        canvas.SetZoom(kZoom);
        canvas.resize(canvas.sizeHint());
        Send(QEvent::MouseButtonPress, canvas.ToWidget({5, 5}));
    }

    void Send(QEvent::Type type, QPointF at) {
        QMouseEvent event(type, at, canvas.mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QApplication::sendEvent(&canvas, &event);
    }
};

Bench& TheBench() {
    static Bench bench;
    return bench;
}

// A mouse move during the drag and the paint it asks for.
void BM_Designer_DragFrameOf20Objects(benchmark::State& state) {
    Bench& b = TheBench();
    QPixmap frame(b.canvas.size());
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        b.Send(QEvent::MouseMove, b.canvas.ToWidget({5 + step * 0.37, 5 + step * 0.21}));
        b.canvas.render(&frame);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("a frame at 60 frames a second: 16.7 ms");
}
BENCHMARK(BM_Designer_DragFrameOf20Objects)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The label alone, drawn once by the print painter at the canvas's resolution.
void BM_Designer_PrintPainterBaseline(benchmark::State& state) {
    Bench& b = TheBench();
    const int dpi = static_cast<int>(std::lround(kZoom * b.canvas.logicalDpiX()));
    const qbm::TLabelSizeMm size = b.editor.LabelSize();
    const qbm::TMergeValues values = b.editor.PreviewValues();
    const qbm::TLabelDesign& design = *b.editor.Design();
    for (auto _ : state) {
        qbm::TBitmap bitmap(static_cast<int>(size.width / 25.4 * dpi),
                            static_cast<int>(size.height / 25.4 * dpi));
        bitmap.SetResolution(dpi);
        qbm::TDesignPainter(design, dpi, dpi).Draw(bitmap.Canvas(), {0, 0}, values);
        benchmark::DoNotOptimize(bitmap.Pixel(0, 0));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Designer_PrintPainterBaseline)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
