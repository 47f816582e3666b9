#include "gui/THelpViewer.h"

#include "help/TChmFile.h"
#include "util/Errors.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QKeySequence>
#include <QMessageBox>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace qbm {

// Pages are read from the help file, never from the disk or the network: a link inside the file
// stays inside it, and a web or mail link goes to the user's browser or mail program.
class THelpBrowser : public QTextBrowser {
public:
    explicit THelpBrowser(QWidget* parent) : QTextBrowser(parent) {
        setOpenLinks(false);
        connect(this, &QTextBrowser::anchorClicked, this, &THelpBrowser::Follow);
    }

    void SetFile(const TChmFile* file) { m_file = file; }

    QVariant loadResource(int type, const QUrl& name) override {
        if (!m_file || !name.scheme().isEmpty()) return {};
        // Pictures and style sheets name themselves relative to their page.
        const QUrl entry = source().resolved(name);
        const auto bytes = m_file->Read(ChmTopicPath(entry.path().toStdString()));
        if (!bytes) return {};
        const QByteArray data(bytes->data(), qsizetype(bytes->size()));
        if (type == QTextDocument::ImageResource) return data;
        return QString::fromUtf8(data);
    }

private:
    void Follow(const QUrl& link) {
        if (!link.scheme().isEmpty()) {
            QDesktopServices::openUrl(link);
            return;
        }
        setSource(source().resolved(link));
    }

    const TChmFile* m_file = nullptr;
};

THelpViewer::THelpViewer(QWidget* parent) : QDialog(parent) {
    setObjectName("THelpViewer");
    setWindowTitle("Quirbel Barcode Maker Help");
    setAccessibleName(windowTitle());
    resize(720, 560);

    m_browser = new THelpBrowser(this);
    m_browser->setObjectName("HelpBrowser");
    m_browser->setAccessibleName("Help page");

    auto* tools = new QToolBar(this);
    tools->setObjectName("HelpToolbar");
    QAction* back = tools->addAction("&Back", m_browser, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward = tools->addAction("&Forward", m_browser, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    tools->addAction("&Contents", this, [this] { m_browser->setSource(QUrl("/html/plovet.htm")); });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tools);
    layout->addWidget(m_browser);
}

THelpViewer::~THelpViewer() = default;

QString THelpViewer::ShowTopic(const QString& chmPath, const QString& topic) {
    if (!m_file || m_file->Path() != chmPath.toStdString()) {
        try {
            auto file = std::make_unique<TChmFile>(chmPath.toStdString());
            m_browser->SetFile(file.get());
            m_file = std::move(file);
        } catch (const EInOutError& e) {
            return QString::fromStdString(e.what());
        }
    }
    const std::string path = ChmTopicPath(topic.toStdString());
    if (!m_file->Contains(path))
        return QString("The help file \"%1\" has no topic \"%2\".")
            .arg(chmPath, QString::fromStdString(path));
    m_browser->setSource(QUrl(QString::fromStdString(path)));
    return {};
}

QString THelpViewer::CurrentTopic() const {
    return m_browser->source().path();
}

QTextBrowser* THelpViewer::Browser() const {
    return m_browser;
}

QString HelpFilePath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath("help.chm");
}

void ShowHelpTopic(QWidget* parent, const QString& topic) {
    static QPointer<THelpViewer> viewer;
    if (!viewer) {
        // One help window for the run, owned by the application's top window so it closes with it.
        viewer = new THelpViewer(parent ? parent->window() : nullptr);
        viewer->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    const QString error = viewer->ShowTopic(HelpFilePath(), topic);
    if (!error.isEmpty()) {
        QMessageBox::warning(parent, "Help", error);
        return;
    }
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

} // namespace qbm
