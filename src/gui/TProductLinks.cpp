#include "gui/TProductLinks.h"

#include <QDesktopServices>

namespace qbm {

QUrl ProductLinkUrl(TProductLink link) {
    switch (link) {
    case TProductLink::plHomePage:
        return QUrl("https://www.quirbel.com/barcode-maker/");
    case TProductLink::plFaq:
        return QUrl("https://www.quirbel.com/barcode-maker/faq.html");
    case TProductLink::plSupportMail:
        return QUrl("mailto:support@quirbel.com?subject=Quirbel%20Barcode%20Maker%202.1");
    }
    return {};
}

bool OpenProductLink(TProductLink link) {
    return QDesktopServices::openUrl(ProductLinkUrl(link));
}

} // namespace qbm
