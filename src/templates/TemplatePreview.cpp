#include "templates/TemplatePreview.h"

#include "barcode/TBarcode.h"
#include "barcode/TFontsAtResolution.h"
#include "surface/TCanvas.h"
#include "util/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace qbm {
namespace {

constexpr int kScreenDpi = 96;

// Words wrapped onto lines no wider than `width` in the canvas' font.
std::vector<std::string> Wrap(TCanvas& canvas, const std::string& text, int width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && canvas.TextWidth(candidate) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

} // namespace

TBitmap DrawTemplatePreview(TBarcode& barcode, int dpi) {
    const TFontsAtResolution fonts(barcode, dpi);

    // The caption is drawn left of and above the bars, so the barcode starts one and a half caption
    // lines in; the code text hangs below the bars.
    const int captionRoom = Rnd(std::abs(barcode.ExtCapFont().Height()) * 1.5);
    const int textRoom = Rnd(1.5 * std::abs(barcode.ShowTextFont().Height()));
    barcode.SetLeft(captionRoom);
    barcode.SetTop(captionRoom);
    TBitmap picture;
    const int width = picture.Canvas().TextWidth("abcd") + barcode.Width() + captionRoom;
    const int height = captionRoom + barcode.Height() + textRoom;
    picture.SetSize(width, height);
    barcode.Draw(picture.Canvas());

    const int w = Rnd(static_cast<double>(width) * kScreenDpi / dpi);
    const int h = Rnd(static_cast<double>(height) * kScreenDpi / dpi);
    const int left = (kTemplatePreviewWidth - w) / 2;
    const int top = (kTemplatePreviewHeight - h) / 2;
    TBitmap preview(kTemplatePreviewWidth, kTemplatePreviewHeight);
    // Averaged, not sampled: at screen scale a module is one or two pixels.
    const TBitmap reduced = picture.Smoothed(w, h);
    preview.Canvas().CopyRect(TRect{left, top, left + w, top + h}, reduced, TRect{0, 0, w, h});
    return preview;
}

TBitmap MessagePreview(int width, int height, const std::string& message) {
    TBitmap preview(width, height);
    TCanvas& canvas = preview.Canvas();
    canvas.Font().SetColor(clRed);
    const int margin = 8;
    const std::vector<std::string> lines = Wrap(canvas, message, width - 2 * margin);
    const int lineHeight = canvas.TextHeight("Yg");
    int y = (height - lineHeight * static_cast<int>(lines.size())) / 2;
    for (const std::string& line : lines) {
        canvas.TextOut(std::max(margin, (width - canvas.TextWidth(line)) / 2), std::max(0, y), line);
        y += lineHeight;
    }
    return preview;
}

} // namespace qbm
