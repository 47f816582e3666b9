#include "barcode/QuietZones.h"

namespace qbm {

TQuietZone LinearQuietZone(TBarcodeType type) {
    switch (type) {
    case bcCodeEAN8:
    case bcCodeEAN13:
    case bcCodeUPC_A:
    case bcCodeUPC_E0:
    case bcCodeUPC_E1:
    case bcCodeUPC_Supp2:
    case bcCodeUPC_Supp5:
        return {11, 7};
    default:
        return {10, 10};
    }
}

} // namespace qbm
