#include "GuiTestSupport.h"

#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <ZXing/ReadBarcode.h>

namespace qbm::test {

void WindowFixture::SetUp() {
    dir = MakeTempDir();
    libraryPath = dir + "/Templates.dat";
    doc = std::make_unique<TLabelDocument>(prompts, fileDialogs, libraryPath);
    window = std::make_unique<TForm1>(dialogs);
    window->SetDocument(doc.get(), doc->UndoStack());
}

void WindowFixture::TearDown() {
    window->SetDocument(nullptr, nullptr);
    window.reset();
    doc.reset();
}

void WindowFixture::ShowWindow() {
    window->show();
    QApplication::processEvents();
    QApplication::processEvents();
}

QAction* WindowFixture::Action(const char* name) const {
    return Find<QAction>(name);
}

std::vector<std::string> WindowFixture::Messages() {
    std::vector<std::string> texts;
    const auto& shown = prompts.Messages();
    for (size_t i = seenMessages; i < shown.size(); ++i) texts.push_back(shown[i].text);
    seenMessages = shown.size();
    return texts;
}

void WindowFixture::ChooseTemplate(const std::string& name) {
    auto* list = Find<QComboBox>("ComboBox1");
    const int index = list->findText(QString::fromStdString(name));
    ASSERT_GE(index, 0) << name;
    list->setCurrentIndex(index);
    emit list->activated(index);
}

void WindowFixture::TypeFixedCode(const QString& text) {
    auto* edit = Find<QLineEdit>("Edt_singletxt");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void WindowFixture::ShowTab(int index) {
    Find<QTabWidget>("PG_Pro")->setCurrentIndex(index);
}

std::vector<std::string> DecodeCells(const QImage& page, int rows, int columns, double marginMm, int dpi) {
    const QImage gray = page.convertToFormat(QImage::Format_Grayscale8);
    const int margin = static_cast<int>(marginMm / 25.4 * dpi);
    const int cellWidth = (gray.width() - 2 * margin) / columns;
    const int cellHeight = (gray.height() - 2 * margin) / rows;
    ZXing::DecodeHints hints;
    hints.setTryHarder(true);
    std::vector<std::string> texts;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QImage cell =
                gray.copy(margin + c * cellWidth, margin + r * cellHeight, cellWidth, cellHeight);
            const ZXing::ImageView view(cell.constBits(), cell.width(), cell.height(),
                                        ZXing::ImageFormat::Lum, static_cast<int>(cell.bytesPerLine()));
            const ZXing::Result result = ZXing::ReadBarcode(view, hints);
            texts.push_back(result.isValid() ? result.text() : std::string());
        }
    }
    return texts;
}

} // namespace qbm::test
