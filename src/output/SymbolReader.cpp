#define ZX_USE_UTF8
#include "output/SymbolReader.h"

#include "output/BarPatternReader.h"

#include <ZXing/ReadBarcode.h>

namespace qbm {
namespace {

ZXing::BarcodeFormats LinearFormats(TBarcodeType type) {
    using F = ZXing::BarcodeFormat;
    switch (type) {
    case bcCode_2_5_interleaved:
        return F::ITF;
    case bcCode39:
    case bcCode39Extended:
        return F::Code39;
    case bcCode93:
    case bcCode93Extended:
        return F::Code93;
    case bcCodeCodabar:
        return F::Codabar;
    case bcCodeEAN8:
        return F::EAN8;
    // A leading 0 makes an EAN-13 a UPC-A; a reader may report it either way.
    case bcCodeEAN13:
    case bcCodeUPC_A:
        return F::EAN13 | F::UPCA;
    case bcCodeUPC_E0:
    case bcCodeUPC_E1:
        return F::UPCE;
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
    case bcCodeEAN128A:
    case bcCodeEAN128B:
    case bcCodeEAN128C:
    case bcCode128Auto:
        return F::Code128;
    // The reader joins the two rows of a stacked symbol as it joins the halves of one row.
    case bcCodeDataBar:
    case bcCodeDataBarStacked:
        return F::DataBar;
    case bcCodeDataBarExpanded:
        return F::DataBarExpanded;
    default:
        return F::None;
    }
}

std::optional<std::string> Read(const TGreyPicture& picture, ZXing::DecodeHints hints) {
    const ZXing::ImageView view(picture.pixels.data(), picture.width, picture.height,
                                ZXing::ImageFormat::Lum);
    // A clean picture reads at once; the thorough search is kept for the ones that do not.
    for (const bool harder : {false, true}) {
        hints.setTryHarder(harder);
        const ZXing::Result r = ZXing::ReadBarcode(view, hints);
        if (r.isValid()) return std::string(r.bytes().begin(), r.bytes().end());
    }
    return std::nullopt;
}

ZXing::BarcodeFormats SymbologyFormats(TSymbology symbology) {
    using F = ZXing::BarcodeFormat;
    switch (symbology) {
    case TSymbology::QrCode:
        return F::QRCode;
    case TSymbology::DataMatrix:
        return F::DataMatrix;
    case TSymbology::Aztec:
        return F::Aztec;
    case TSymbology::DataBar:
    case TSymbology::DataBarStacked:
    case TSymbology::DataBarLimited:
        return F::DataBar;
    case TSymbology::DataBarExpanded:
        return F::DataBarExpanded;
    default:
        return F::None;
    }
}

} // namespace

bool CanReadSymbology(TSymbology symbology) {
    return !SymbologyFormats(symbology).empty();
}

std::optional<std::string> ReadSymbologyText(const TGreyPicture& picture, TSymbology symbology) {
    if (!CanReadSymbology(symbology)) return std::nullopt;
    ZXing::DecodeHints hints;
    hints.setFormats(SymbologyFormats(symbology));
    hints.setTryRotate(true);
    const ZXing::ImageView view(picture.pixels.data(), picture.width, picture.height,
                                ZXing::ImageFormat::Lum);
    for (const bool harder : {false, true}) {
        hints.setTryHarder(harder);
        const ZXing::Result r = ZXing::ReadBarcode(view, hints);
        if (r.isValid()) return r.text();
    }
    return std::nullopt;
}

bool CanReadLinear(TBarcodeType type) {
    return HasBarPatternReader(type) || !LinearFormats(type).empty();
}

std::optional<std::string> ReadLinearSymbol(const TGreyPicture& picture, TBarcodeType type, bool checksum) {
    if (HasBarPatternReader(type)) return ReadBarPattern(type, picture);
    if (LinearFormats(type).empty()) return std::nullopt;
    ZXing::DecodeHints hints;
    hints.setFormats(LinearFormats(type));
    hints.setTryRotate(true);
    hints.setTryCode39ExtendedMode(type == bcCode39Extended);
    hints.setValidateCode39CheckSum(checksum && (type == bcCode39 || type == bcCode39Extended));
    return Read(picture, hints);
}

std::optional<std::string> Read2DSymbol(const TGreyPicture& picture, bool maxiCode) {
    if (!maxiCode) {
        // A drawn label is the PDF417 symbol alone and upright in its quiet zone: the reader's quick
        // look at such a picture reads it at a fraction of the search's cost; the search stays for
        // the rest.
        ZXing::DecodeHints pure;
        pure.setFormats(ZXing::BarcodeFormat::PDF417);
        pure.setIsPure(true);
        pure.setTryRotate(false);
        pure.setTryHarder(false);
        const ZXing::ImageView view(picture.pixels.data(), picture.width, picture.height,
                                    ZXing::ImageFormat::Lum);
        const ZXing::Result r = ZXing::ReadBarcode(view, pure);
        if (r.isValid()) return std::string(r.bytes().begin(), r.bytes().end());
    }
    ZXing::DecodeHints hints;
    hints.setFormats(maxiCode ? ZXing::BarcodeFormat::MaxiCode : ZXing::BarcodeFormat::PDF417);
    hints.setTryRotate(true);
    // The reader finds a MaxiCode only in a picture of the symbol alone, which a rendered label is.
    hints.setIsPure(maxiCode);
    return Read(picture, hints);
}

} // namespace qbm
