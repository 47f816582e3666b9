#include "gui/TForm1.h"

#include "app/TLabelDocument.h"
#include "gui/Code2DPage.h"
#include "gui/DesignPage.h"
#include "gui/GuiText.h"
#include "gui/LayoutPage.h"
#include "gui/LinearCodePage.h"
#include "gui/MainActions.h"
#include "gui/PreviewPanel.h"
#include "gui/RecentProjects.h"
#include "gui/TDialogs.h"
#include "gui/TQtProgress.h"
#include "gui/TScreenFit.h"
#include "gui/WindowPrinting.h"
#include "util/Text.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QUndoStack>

// Resources of a static library are registered by hand, outside any namespace.
static void InitGuiResources() {
    Q_INIT_RESOURCE(gui);
}

namespace qbm {

namespace {

constexpr const char* kHelpTopic = "html/plovet.htm";

QString ProjectPathOf(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(".bpj", Qt::CaseInsensitive))
            return url.toLocalFile();
    return {};
}

} // namespace

TForm1::TForm1(TDialogs& dialogs, QWidget* parent) : QMainWindow(parent), m_dialogs(dialogs) {
    InitGuiResources();
    BuildWindow();
    ConnectActions();
}

TForm1::~TForm1() {
    // The pages hold connections to the document; they go before it does.
    SetDocument(nullptr, nullptr);
}

void TForm1::BuildWindow() {
    Named(this, "Form1", kBaseCaption);
    setWindowTitle(QString(kBaseCaption) + " - Untitled Project");
    setAccessibleName(windowTitle());
    setWindowIcon(QIcon(":/qbm/app.svg"));
    setAcceptDrops(true);

    m_actions = new MainActions(this);

    auto* client = new QWidget(this);
    client->setObjectName("Client");
    m_pages = Named(new QTabWidget(client), "PG_Pro", "Pages");
    m_pages->setTabPosition(QTabWidget::South);
    m_linearPage = new LinearCodePage(m_pages);
    m_2dPage = new Code2DPage(m_pages);
    m_layoutPage = new LayoutPage(m_pages);
    m_designPage = new DesignPage(m_pages);
    // Each page scrolls when the window is smaller than the page (a high scale on a small screen).
    const auto scrolled = [this](QWidget* page) {
        auto* area = new QScrollArea(m_pages);
        area->setObjectName(page->objectName() + "_Scroll");
        area->setWidget(page);
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        return area;
    };
    m_pages->addTab(scrolled(m_linearPage), "1D Barcode ");
    m_pages->addTab(scrolled(m_2dPage), "2D Barcode ");
    m_pages->addTab(scrolled(m_layoutPage), "Print Layout");
    m_pages->addTab(scrolled(m_designPage), "Label Design");
    TScreenFit::InstallForApplication();
    m_preview = new PreviewPanel(client);
    auto* layout = new QHBoxLayout(client);
    // The tabs keep their size; the preview takes whatever room the window has beyond them.
    layout->addWidget(m_pages, 0);
    layout->addWidget(m_preview, 1);
    // The label designer wants the room the page preview has; its canvas shows the label with the
    // values of a datasheet row, and the preview shows the labels again on the other tabs.
    connect(m_pages, &QTabWidget::currentChanged, this, [this, layout](int index) {
        const bool designing = index == static_cast<int>(TMainTab::mtDesign);
        m_preview->setVisible(!designing);
        layout->setStretch(0, designing ? 1 : 0);
    });
    setCentralWidget(client);

    m_printing = new WindowPrinting(this);
}

void TForm1::ConnectActions() {
    MainActions& a = *m_actions;
    auto doc = [this](auto&& f) {
        return [this, f] {
            if (m_doc) f(*m_doc);
        };
    };
    connect(a.newProject, &QAction::triggered, this, doc([](TLabelDocument& d) { d.New(); }));
    connect(a.openProject, &QAction::triggered, this, doc([](TLabelDocument& d) { d.Open(); }));
    connect(a.save, &QAction::triggered, this, doc([](TLabelDocument& d) { d.Save(); }));
    connect(a.saveAs, &QAction::triggered, this, doc([](TLabelDocument& d) { d.SaveAs(); }));
    connect(a.exportImage, &QAction::triggered, this, [this] {
        // The editors open with their export buttons, as the template command opens them.
        m_exporting = true;
        OpenTemplateEditor();
        m_exporting = false;
    });
    connect(a.print, &QAction::triggered, m_printing, &WindowPrinting::Print);
    connect(a.printToPdf, &QAction::triggered, m_printing, &WindowPrinting::PrintToPdf);
    connect(a.exit, &QAction::triggered, this, &QWidget::close);

    connect(a.codeMenu, &QMenu::aboutToShow, this, &TForm1::UpdateCodeMenu);
    connect(a.barcodeTemplate, &QAction::triggered, this, &TForm1::OpenTemplateEditor);
    connect(a.templates, &QAction::triggered, this, &TForm1::OpenTemplateEditor);
    connect(a.fixedValue, &QAction::triggered, this, doc([](TLabelDocument& d) { d.FixedValue(); }));
    connect(a.importVariousCode, &QAction::triggered, this,
            doc([](TLabelDocument& d) { d.ImportVariousCode(); }));
    connect(a.serialCode, &QAction::triggered, this, &TForm1::SerialCode);
    connect(a.data, &QAction::triggered, this, &TForm1::OpenDatasheet);

    const std::pair<QAction*, std::function<QWidget*()>> fields[] = {
        {a.column, [this] { return m_layoutPage->Columns(); }},
        {a.linage, [this] { return m_layoutPage->Rows(); }},
        {a.marginLeft, [this] { return m_layoutPage->Margin(TMarginSide::msLeft); }},
        {a.marginRight, [this] { return m_layoutPage->Margin(TMarginSide::msRight); }},
        {a.marginTop, [this] { return m_layoutPage->Margin(TMarginSide::msTop); }},
        {a.marginBottom, [this] { return m_layoutPage->Margin(TMarginSide::msBottom); }},
    };
    for (const auto& [action, field] : fields)
        connect(action, &QAction::triggered, this, [this, field] { ShowLayoutField(field()); });
    connect(a.printerSetup, &QAction::triggered, m_printing, &WindowPrinting::PageSetup);
    connect(m_layoutPage, &LayoutPage::printerSetupRequested, m_printing, &WindowPrinting::PageSetup);
    connect(m_layoutPage, &LayoutPage::labelStockRequested, a.labelStock, &QAction::trigger);
    connect(a.labelStock, &QAction::triggered, this,
            doc([this](TLabelDocument& d) { m_dialogs.LabelStock(this, d); }));
    connect(a.printCalibrationSheet, &QAction::triggered, m_printing, &WindowPrinting::PrintCalibrationSheet);
    connect(a.printerCalibration, &QAction::triggered, m_printing, &WindowPrinting::EditCalibration);
    connect(a.printOptions, &QAction::triggered, this,
            doc([this](TLabelDocument& d) { m_dialogs.PrintOptions(this, d); }));

    connect(a.contents, &QAction::triggered, this, [this] { m_dialogs.Help(this, kHelpTopic); });
    connect(a.help, &QAction::triggered, this, [this] { m_dialogs.Help(this, kHelpTopic); });
    connect(a.faq, &QAction::triggered, this, [this] { m_dialogs.OpenLink(this, TProductLink::plFaq); });
    connect(a.technicalSupport, &QAction::triggered, this,
            [this] { m_dialogs.OpenLink(this, TProductLink::plSupportMail); });
    connect(a.visitWeb, &QAction::triggered, this,
            [this] { m_dialogs.OpenLink(this, TProductLink::plHomePage); });
    connect(a.about, &QAction::triggered, this, [this] { m_dialogs.About(this); });
    connect(a.aboutPicture, &QAction::triggered, this, [this] { m_dialogs.About(this); });

    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_showingTab || !m_doc) return;
        m_doc->TabChanged(static_cast<TMainTab>(index));
        UpdateCodeMenu();
    });
    connect(m_linearPage, &LinearCodePage::modifyTemplateRequested, this, &TForm1::ModifyLinearTemplate);
    connect(m_linearPage, &LinearCodePage::datasheetRequested, this, &TForm1::OpenDatasheet);
    connect(m_2dPage, &Code2DPage::modifyTemplateRequested, this, &TForm1::Modify2DTemplate);
    connect(m_2dPage, &Code2DPage::serialRequested, this, &TForm1::Serial2D);
    connect(m_preview, &PreviewPanel::pictureClicked, this, &TForm1::PreviewClicked);
    RebuildRecentMenu();
}

void TForm1::SetDocument(TLabelDocument* doc, QUndoStack* undoStack) {
    if (m_doc) {
        disconnect(m_doc, nullptr, this, nullptr);
        m_doc->SetProgressMaker({});
    }
    m_doc = doc;
    m_undoStack = undoStack;
    m_actions->SetUndoStack(undoStack);
    m_linearPage->SetDocument(doc);
    m_2dPage->SetDocument(doc);
    m_layoutPage->SetDocument(doc);
    m_designPage->SetDocument(doc);
    m_preview->SetDocument(doc);
    m_printing->SetDocument(doc);
    if (!doc) return;
    // A project with a large datasheet reports while it loads: the dialog shows with the first report.
    doc->SetProgressMaker(
        [form = QPointer<TForm1>(this)](const std::string& label) -> std::unique_ptr<TProgress> {
            if (!form) return nullptr;
            return std::make_unique<TQtProgress>(form, QString::fromLocal8Bit(label.c_str()),
                                                 TQtProgress::TShow::kAtFirstReport);
        });
    connect(doc, &TLabelDocument::captionChanged, this, &TForm1::UpdateCaption);
    connect(doc, &TLabelDocument::kindChanged, this, &TForm1::UpdateCodeMenu);
    connect(doc, &TLabelDocument::showTabRequested, this, &TForm1::ShowTab);
    connect(doc, &TLabelDocument::focusRequested, this, &TForm1::FocusControl);
    UpdateCaption();
    UpdateCodeMenu();
}

void TForm1::UpdateCaption() {
    setWindowTitle(ToQ(m_doc->Caption()));
    // A screen reader names the window by its caption, so that it hears which project is open.
    setAccessibleName(windowTitle());
    const QString file = PathToQ(m_doc->ProjectFileName());
    // A project that was opened or written goes to the front of "Open Recent".
    if (!file.isEmpty() && windowTitle().endsWith(file)) {
        RecentProjects::Add(file);
        RebuildRecentMenu();
    }
}

void TForm1::UpdateCodeMenu() {
    m_actions->importVariousCode->setEnabled(m_doc && m_doc->ImportVariousCodeEnabled());
}

void TForm1::RebuildRecentMenu() {
    QMenu* menu = m_actions->openRecent;
    menu->clear();
    const QStringList files = RecentProjects::List();
    int n = 0;
    for (const QString& file : files) {
        QAction* action = menu->addAction(QString("&%1 %2").arg(++n).arg(QFileInfo(file).fileName()));
        action->setObjectName(QString("Mnu_Recent%1").arg(n));
        action->setToolTip(file);
        action->setStatusTip(file);
        connect(action, &QAction::triggered, this, [this, file] { OpenProjectFile(file); });
    }
    if (files.isEmpty()) menu->addAction("(none)")->setEnabled(false);
    menu->addSeparator();
    QAction* clear = menu->addAction("Clear List");
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        for (const QString& file : RecentProjects::List()) RecentProjects::Remove(file);
        RebuildRecentMenu();
    });
}

void TForm1::OpenProjectFile(const QString& path) {
    if (!m_doc) return;
    if (!QFileInfo::exists(path)) {
        QMessageBox::warning(this, kBaseCaption, "The project file " + path + " no longer exists.");
        RecentProjects::Remove(path);
        RebuildRecentMenu();
        return;
    }
    m_doc->OpenPath(PathFromQ(path));
}

void TForm1::ShowTab(TMainTab tab) {
    m_showingTab = true;
    m_pages->setCurrentIndex(static_cast<int>(tab));
    m_showingTab = false;
}

void TForm1::FocusControl(TFocusTarget target) {
    switch (target) {
    case TFocusTarget::ftNone:
        return;
    case TFocusTarget::ftColumns:
        ShowLayoutField(m_layoutPage->Columns());
        return;
    case TFocusTarget::ftRows:
        ShowLayoutField(m_layoutPage->Rows());
        return;
    case TFocusTarget::ftFixedCode:
        ShowTab(TMainTab::mtLinear);
        m_linearPage->FixedCodeEdit()->setFocus(Qt::OtherFocusReason);
        return;
    case TFocusTarget::ftText2D:
        ShowTab(TMainTab::mt2D);
        m_2dPage->TextEdit()->setFocus(Qt::OtherFocusReason);
        return;
    }
}

void TForm1::ShowLayoutField(QWidget* field) {
    ShowTab(TMainTab::mtLayout);
    field->setFocus(Qt::OtherFocusReason);
    if (auto* spin = qobject_cast<QSpinBox*>(field)) spin->selectAll();
}

void TForm1::OpenTemplateEditor() {
    if (!m_doc) return;
    if (m_doc->Kind() == TBarcodeKind::bk2D) {
        Modify2DTemplate();
        return;
    }
    // The template in use stays selected after the editor closes, whatever was remembered before.
    m_rememberedTemplate = m_doc->SelectedTemplate();
    TLinearEditorRequest request;
    request.preselect = std::max(0, m_rememberedTemplate);
    request.showExport = m_exporting;
    m_dialogs.LinearTemplateEditor(this, *m_doc, request);
    m_doc->LinearEditorClosed(m_rememberedTemplate);
}

void TForm1::ModifyLinearTemplate() {
    if (!m_doc) return;
    m_rememberedTemplate = m_doc->SelectedTemplate();
    TLinearEditorRequest request;
    request.preselect = std::max(0, m_rememberedTemplate);
    request.testCode = m_doc->Setup().bcdMain.Text();
    m_dialogs.LinearTemplateEditor(this, *m_doc, request);
    m_doc->LinearEditorClosed(m_rememberedTemplate);
}

void TForm1::Modify2DTemplate() {
    if (!m_doc) return;
    T2DEditorRequest request;
    request.page = m_doc->Project().Format2D();
    // The editor tries PDF417 and MaxiCode, whose text is Latin-1.
    request.testText = Utf8ToLatin1Replacing(m_doc->Project().Text2D());
    request.settings = m_doc->Settings2D();
    request.showExport = m_exporting;
    if (const auto settings = m_dialogs.Template2DEditor(this, *m_doc, request))
        m_doc->Set2DSettings(*settings);
    else
        m_doc->Apply2DSettings();
}

void TForm1::PreviewClicked() {
    if (!m_doc) return;
    if (m_doc->Kind() == TBarcodeKind::bk2D) {
        Modify2DTemplate();
        return;
    }
    if (m_doc->SelectedTemplate() < 0) return;
    m_rememberedTemplate = m_doc->SelectedTemplate();
    const TBarcode& bcd = m_doc->Setup().bcdMain;
    TLinearEditorRequest request;
    request.preselect = m_rememberedTemplate;
    request.testCode = bcd.Text();
    request.testCaption = bcd.ExtCaption;
    request.symbology = static_cast<int>(bcd.Typ());
    m_dialogs.LinearTemplateEditor(this, *m_doc, request);
    m_doc->LinearEditorClosed(m_rememberedTemplate);
}

void TForm1::OpenDatasheet() {
    if (!m_doc) return;
    m_doc->DatasheetWindowOpening();
    const bool changed = m_dialogs.Datasheet(this, *m_doc);
    m_doc->DatasheetWindowClosed(changed);
}

void TForm1::SerialCode() {
    if (!m_doc) return;
    if (const auto codes = m_dialogs.Sequence(this)) m_doc->SerialCode(*codes);
}

void TForm1::Serial2D() {
    if (!m_doc) return;
    m_doc->Serial2D(m_dialogs.Sequence(this).value_or(std::vector<std::string>{}));
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_started || !m_doc) return;
    m_started = true;
    m_doc->Start();
    // A desktop without a window manager never activates the window; the welcome comes all the same.
    QTimer::singleShot(0, this, &TForm1::FirstActivation);
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_activated) {
        m_activated = true;
        // After the activation is delivered, so the dialog opens over a window that is fully shown.
        QTimer::singleShot(0, this, &TForm1::FirstActivation);
    }
}

void TForm1::FirstActivation() {
    m_activated = true;
    if (!m_started || !m_doc || !m_doc->NeedsWelcome()) return;
    m_doc->MarkWelcomeShown();
    if (!m_startupProject.isEmpty()) {
        OpenProjectFile(m_startupProject);
        return;
    }
    switch (m_dialogs.Welcome(this)) {
    case 0:
        m_doc->New();
        break;
    case 1:
        m_doc->Open();
        break;
    case 2:
        OpenTemplateEditor();
        break;
    default:
        break;
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (m_doc && !m_doc->CloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!ProjectPathOf(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QString path = ProjectPathOf(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // Opened after the drop has finished, so the close query's box is not shown inside the drag.
    QTimer::singleShot(0, this, [this, path] { OpenProjectFile(path); });
}

} // namespace qbm
