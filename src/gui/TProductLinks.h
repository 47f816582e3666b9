#pragma once
// The maker's web site, FAQ page and support mail: the three addresses the window opens, kept here
// so that a move of the site is one change.

#include <QUrl>

namespace qbm {

enum class TProductLink { plHomePage, plFaq, plSupportMail };

QUrl ProductLinkUrl(TProductLink link);

// Hands the address to the user's browser or mail program; false when the desktop has none.
bool OpenProductLink(TProductLink link);

} // namespace qbm
