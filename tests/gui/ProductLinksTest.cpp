#include "gui/TProductLinks.h"

#include <QDesktopServices>
#include <QObject>

#include <gtest/gtest.h>

namespace qbm {
namespace {

// Stands in for the user's browser and mail program.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

TEST(ProductLinks, GoToTheBrowserAndTheMailProgram) {
    TUrlCatcher catcher;
    for (const char* scheme : {"https", "mailto"}) QDesktopServices::setUrlHandler(scheme, &catcher, "Open");
    EXPECT_TRUE(OpenProductLink(TProductLink::plHomePage));
    EXPECT_TRUE(OpenProductLink(TProductLink::plFaq));
    EXPECT_TRUE(OpenProductLink(TProductLink::plSupportMail));
    for (const char* scheme : {"https", "mailto"}) QDesktopServices::unsetUrlHandler(scheme);

    ASSERT_EQ(catcher.opened.size(), 3);
    EXPECT_EQ(catcher.opened[0].host(), "www.quirbel.com");
    EXPECT_TRUE(catcher.opened[1].path().endsWith("faq.html"));
    EXPECT_EQ(catcher.opened[2].scheme(), "mailto");
    EXPECT_EQ(catcher.opened[2].path(), "support@quirbel.com");
}

} // namespace
} // namespace qbm

#include "ProductLinksTest.moc"
