#pragma once
// The help window: shows the pages of help.chm, follows their links and shows their pictures.

#include <QDialog>
#include <QString>

#include <memory>

class QTextBrowser;

namespace qbm {

class TChmFile;
class THelpBrowser;

class THelpViewer : public QDialog {
    Q_OBJECT
public:
    explicit THelpViewer(QWidget* parent = nullptr);
    ~THelpViewer() override;

    // Opens the help file and shows the topic ("html/plovet.htm", "::/html\datasheet.htm" …).
    // Returns an error text for the user when the file or the topic cannot be shown; the window
    // keeps what it showed before.
    QString ShowTopic(const QString& chmPath, const QString& topic);

    // The entry path of the page shown, "" before the first.
    QString CurrentTopic() const;
    QTextBrowser* Browser() const;

private:
    std::unique_ptr<TChmFile> m_file;
    THelpBrowser* m_browser = nullptr;
};

// help.chm in the program's folder, where the installer puts it beside the executable.
QString HelpFilePath();

// Shows a topic of help.chm in the one help window of the run; errors go to a message box that
// names the file, and the calling window stays usable.
void ShowHelpTopic(QWidget* parent, const QString& topic);

} // namespace qbm
