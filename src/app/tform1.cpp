#include "app/tform1.h"

#include "app/anchors.h"
#include "app/bulletnamesmodel.h"
#include "app/forms.h"
#include "app/preferences.h"
#include "app/shotstatisticspanel.h"
#include "app/startuptrace.h"
#include "chart/ui/chartwidget.h"
#include "help/taboutbox.h"
#include "help/thelpform.h"
#include "imports/ui/importchoice.h"
#include "runtime/errors.h"
#include "serial/comport.h"
#include "serial/comterminal.h"
#include "session/ui/sessiondock.h"
#include "table/currentfile.h"
#include "table/measurementtable.h"
#include "table/weightmask.h"
#include "ui/actionhandlers.h"
#include "ui/designfont.h"
#include "ui/errorreport.h"
#include "ui/gridmodel.h"
#include "ui/gridview.h"
#include "ui/qtext.h"
#include "ui/weightedit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cerrno>

namespace {

// The client area the boxes were placed in; the window's outer size adds frame and menu.
constexpr QSize kClientDesignSize(829, 518);

QGroupBox* makeGroup(QWidget* parent, const char* name, const char* caption)
{
    auto* box = new QGroupBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setAccessibleName(box->title());
    return box;
}

template <typename W> W* named(W* widget, const char* name, const QString& accessibleName)
{
    widget->setObjectName(QString::fromUtf8(name));
    widget->setAccessibleName(accessibleName);
    return widget;
}

// No accessible name of its own: a fixed one would hide the number; its caption is its
// buddy, so a screen reader says "V max 305".
QLabel* valueLabel(const char* name, const QColor& colour)
{
    auto* label = new QLabel(ui::toQString(table::kEmptyMark));
    label->setObjectName(QString::fromUtf8(name));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QAction* addItem(QMenu* menu, const char* name, const char* caption,
                 const QKeySequence& shortcut = QKeySequence())
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    action->setShortcut(shortcut);
    return action;
}

QMenu* makePopup(QWidget* parent, const char* name, QAction** bmp, const char* bmpName,
                 QAction** wmf, const char* wmfName, QAction** print, const char* printName)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromUtf8(name));
    *bmp = addItem(menu, bmpName, "Save as BMP");
    *wmf = addItem(menu, wmfName, "Save as WMF");
    menu->addSeparator();
    *print = addItem(menu, printName, "Print");
    return menu;
}

chart::ChartWidget* makeChart(const char* name, const char* accessibleName)
{
    return named(new chart::ChartWidget, name, QString::fromUtf8(accessibleName));
}

} // namespace

TForm1::TForm1(std::string startNote, QWidget* parent)
    : QMainWindow(parent)
    , m_table(table::makeGrid())
    , m_startNote(std::move(startNote))
{
    setObjectName(QStringLiteral("Form1"));
    ComPort = std::make_unique<TComPort>();
    ComPort->setName("ComPort");
    ComTerminal = std::make_unique<TComTerminal>();
    ComTerminal->SetComPort(ComPort.get());
    ComTerminal->OnChar = [this](TCustomComTerminal*, char ch) {
        ui::guarded([this, ch] { ComTerminalChar(ch); })();
    };
    table::setCaptionListener(
        [this](const std::string& caption) { setWindowTitle(ui::toQString(caption)); });
    setWindowTitle(ui::toQString(table::windowCaption(table::currentFileName())));

    // Files copied from other systems may carry the extension in capitals (GTK's dialogs match
    // patterns by letter case); "All files" shows the rest, which the commands then check.
    // Add Series shares Open's dialog and also takes chronograph exports.
    const QString exportsFilter = exportsFilterEntry();
    // Measurement files stay first; session files have an entry of their own and one with them.
    OpenDialog1.filter = QStringLiteral("Vexorel! Measurments (*.vxm *.VXM);;Vexorel! Sessions "
                                        "and Measurments (*.vxs *.vxm *.VXS *.VXM);;Vexorel! "
                                        "Session (*.vxs *.VXS);;") +
                         exportsFilter + QStringLiteral(";;All files (*)");
    SaveDialog1.filter = QString::fromUtf8(kMeasurementsFilter) + QStringLiteral(";;") +
                         QString::fromUtf8(kSessionFilter);
    OpenDialog1.defaultSuffix = SaveDialog1.defaultSuffix = QStringLiteral("vxm");
    ImportDialog1.filter = exportsFilter + QStringLiteral(";;All files (*)");
    SaveDialog2.filter = QStringLiteral("BitMap Picture (*.bmp)");
    SaveDialog2.defaultSuffix = QStringLiteral("bmp");
    SaveDialog3.filter = QStringLiteral("Windows Meta File (*.wmf)");
    SaveDialog3.defaultSuffix = QStringLiteral("wmf");
    setUpExportDialogs();

    setFont(ui::designFont());
    setAcceptDrops(true);

    // Before the menus: the View menu shows and hides them.
    ShotStatisticsDock = new ShotStatisticsPanel(this);
    SessionDock1 = new SessionDock(this);
    startupMark("docks");
    buildMenus();
    buildControls();
    startupMark("menus and controls");
    bindHandlers();
    applyPreferences(loadPreferences());
    startupMark("preferences");

    move(2, 7);
    resize(kClientDesignSize.width() + panelWidth(),
           kClientDesignSize.height() + menuBar()->sizeHint().height());

    // Creation runs FormCreate; its errors take the road of every other handler's.
    ui::guarded([this] { FormCreate(); })();
    startupMark("bullet list");
}

TForm1::~TForm1()
{
    table::setCaptionListener(nullptr);
    // Closing serves hand-overs still pending from the event thread; they must find every
    // widget alive.
    ComPort->Close();
    ComTerminal->SetComPort(nullptr);
    ComTerminal.reset();
    ComPort.reset();
    // The view and its model go before the table they show.
    delete Grid;
    Grid = nullptr;
    delete m_gridModel;
    m_gridModel = nullptr;
}

int TForm1::panelWidth()
{
    // The docks share one tabbed place beside the central area, which keeps its designed size:
    // the window adds the wider of them and the separator before it.
    int width = 0;
    for (QDockWidget* dock :
         {static_cast<QDockWidget*>(ShotStatisticsDock), static_cast<QDockWidget*>(SessionDock1)}) {
        if (!dock->isHidden())
            width = std::max(width, dock->sizeHint().width() +
                                        style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent,
                                                             nullptr, this));
    }
    return width;
}

void TForm1::showEvent(QShowEvent* event)
{
    // The docks know their width only once polished in the window: the first show settles it.
    if (!m_sized && !event->spontaneous()) {
        m_sized = true;
        resize(kClientDesignSize.width() + panelWidth(), height());
    }
    QMainWindow::showEvent(event);
}

void TForm1::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    New1 = addItem(file, "New1", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
    Open1 = addItem(file, "Open1", "&Open", QKeySequence(Qt::CTRL | Qt::Key_O));
    Import1 = addItem(file, "Import1", "Import...", QKeySequence(Qt::CTRL | Qt::Key_I));
    ImportFromDevice1 = addItem(file, "ImportFromDevice1", "Import from Device...");
    ImportFolder1 = addItem(file, "ImportFolder1", "Import Folder...");
    Save1 = addItem(file, "Save1", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAs1 = addItem(file, "SaveAs1", "Save As...");
    SaveSelectedAs1 = addItem(file, "SaveSelectedAs1", "Save Selected As...");
    QMenu* exportMenu = file->addMenu(QStringLiteral("E&xport"));
    exportMenu->setObjectName(QStringLiteral("Export1"));
    ExportTableAsCsv1 = addItem(exportMenu, "ExportTableAsCsv1", "Table as CSV...");
    ExportLabRadarReport1 =
        addItem(exportMenu, "ExportLabRadarReport1", "LabRadar-style Report...");
    ExportChartAsPicture1 = addItem(exportMenu, "ExportChartAsPicture1", "Chart as Picture...");
    ExportReportAsPdf1 = addItem(exportMenu, "ExportReportAsPdf1", "Report as PDF...");
    PrintReport1 = addItem(file, "PrintReport1", "Print Report...");
    file->addSeparator();
    Exit1 = addItem(file, "Exit1", "&Exit", QKeySequence(Qt::CTRL | Qt::Key_E));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    Copy1 = addItem(edit, "Copy1", "Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    edit->addSeparator();
    // Ctrl+E is Exit's.
    ExcludeFromStatistics1 = addItem(edit, "ExcludeFromStatistics1", "Exclude from Statistics",
                                     QKeySequence(Qt::CTRL | Qt::Key_K));
    IncludeInStatistics1 = addItem(edit, "IncludeInStatistics1", "Include in Statistics",
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));

    buildViewMenu(menuBar()->addMenu(QStringLiteral("&View")));

    QMenu* chronolite = menuBar()->addMenu(QStringLiteral("Chronolite"));
    LOAD1 = addItem(chronolite, "LOAD1", "LOAD!");
    chronolite->addSeparator();
    COMSetup1 = addItem(chronolite, "COMSetup1", "COM Setup");
    chronolite->addSeparator();
    DeleteSelected1 = addItem(chronolite, "DeleteSelected1", "Delete Selected");

    QMenu* chart = menuBar()->addMenu(QStringLiteral("Chart"));
    AddSeries1 = addItem(chart, "AddSeries1", "Add Series");
    AddSeriesFromFolder1 = addItem(chart, "AddSeriesFromFolder1", "Add Series from Folder...");
    DeleteSeries1 = addItem(chart, "DeleteSeries1", "Delete Series");
    chart->addSeparator();
    Redraw1 = addItem(chart, "Redraw1", "Redraw");
    chart->addSeparator();
    FitAxesToData1 = addItem(chart, "FitAxesToData1", "Fit Axes to Data");
    FitAxesToData1->setCheckable(true);

    QMenu* options = menuBar()->addMenu(QStringLiteral("Options"));
    BulletListEditor1 = addItem(options, "BulletListEditor1", "&Bullet List Editor");
    options->addSeparator();
    COMSetup2 = addItem(options, "COMSetup2", "&COM Setup");

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    FAQ1 = addItem(help, "FAQ1", "Help");
    help->addSeparator();
    About1 = addItem(help, "About1", "&About...");
}

void TForm1::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    // The boxes are placed for this size; below it they would overlap and hide "Load!".
    client->setMinimumSize(kClientDesignSize);
    setCentralWidget(client);
    auto* anchors = new Anchors(client, kClientDesignSize);
    const Qt::Edges leftTop = Qt::LeftEdge | Qt::TopEdge;

    // Measurements
    QGroupBox* measurements = makeGroup(client, "GroupBox2", "Measurements");
    m_gridModel = new ui::GridModel(m_table);
    m_gridModel->setShownColumns(table::kColumnCount);
    Grid = named(new ui::GridView, "Grid", QStringLiteral("Measurements"));
    Grid->setGridModel(m_gridModel);
    auto* measurementsLayout = new QVBoxLayout(measurements);
    measurementsLayout->setContentsMargins(4, 2, 4, 4);
    measurementsLayout->addWidget(Grid);
    anchors->place(measurements, QRect(0, 0, 291, 518), leftTop | Qt::BottomEdge);

    // Statistics
    QGroupBox* statistics = makeGroup(client, "GroupBox5", "Statistics");
    auto* statsLayout = new QGridLayout(statistics);
    statsLayout->setContentsMargins(3, 4, 1, 4);
    statsLayout->setHorizontalSpacing(1);
    statsLayout->setVerticalSpacing(2);
    // Six numbers in a small box: a size smaller keeps a rifle's Imperial "3013,72" and
    // "4032,30" whole. The box took its room from the bullet group's spare width, as did
    // the chart group for "3D Dimensions".
    QFont statsFont = font();
    statsFont.setPointSizeF(7);
    VmaxLabel = valueLabel("VmaxLabel", Qt::red);
    VminLabel = valueLabel("VminLabel", Qt::darkGreen);
    VaLabel = valueLabel("VaLabel", QColor(0xB8, 0x9B, 0x00));
    EmaxLabel = valueLabel("EmaxLabel", Qt::red);
    EminLabel = valueLabel("EminLabel", Qt::darkGreen);
    EaLabel = valueLabel("EaLabel", QColor(0xB8, 0x9B, 0x00));
    QLabel* values[] = {VmaxLabel, VminLabel, VaLabel, EmaxLabel, EminLabel, EaLabel};
    for (int i = 0; i < 6; ++i) {
        auto* caption = new QLabel(ui::toQString(table::kStatisticsCaptions[std::size_t(i)]));
        caption->setObjectName(QStringLiteral("Label%1").arg(3 + i));
        caption->setBuddy(values[i]);
        const int column = (i / 3) * 2;
        caption->setFont(statsFont);
        values[i]->setFont(statsFont);
        statsLayout->addWidget(caption, i % 3, column);
        statsLayout->addWidget(values[i], i % 3, column + 1);
    }
    anchors->place(statistics, QRect(295, 0, 133, 101), leftTop);

    // Bullet
    QGroupBox* bullet = makeGroup(client, "GroupBox4", "Bullet");
    auto* bulletLayout = new QGridLayout(bullet);
    bulletLayout->setContentsMargins(6, 2, 6, 2);
    bulletLayout->setVerticalSpacing(1);
    ComboBox1 = named(new QComboBox, "ComboBox1", QStringLiteral("Bullet"));
    ComboBox1->setEditable(false);
    m_bulletNames = new BulletNamesModel(ComboBox1);
    ComboBox1->setModel(m_bulletNames);
    MaskEdit1 = named(new ui::WeightEdit, "MaskEdit1", QStringLiteral("Bullet weight"));
    Label2 = named(new QLabel(QStringLiteral("gram")), "Label2", QStringLiteral("gram"));
    SpeedButton1 = named(new QPushButton(QStringLiteral("Apply changes")), "SpeedButton1",
                         QStringLiteral("Apply changes"));
    auto* note1 = new QLabel(QStringLiteral("Note: Select measurments, select bullet,"));
    auto* note2 = new QLabel(QStringLiteral("change weight and click \"Apply changes\"!"));
    note1->setObjectName(QStringLiteral("Label10"));
    note2->setObjectName(QStringLiteral("Label11"));
    for (QLabel* note : {note1, note2}) {
        QFont small = note->font();
        small.setPointSizeF(small.pointSizeF() * 0.75);
        note->setFont(small);
    }
    bulletLayout->addWidget(ComboBox1, 0, 0, 1, 3);
    bulletLayout->addWidget(MaskEdit1, 1, 0);
    bulletLayout->addWidget(Label2, 1, 1);
    bulletLayout->addWidget(SpeedButton1, 1, 2);
    bulletLayout->addWidget(note1, 2, 0, 1, 3);
    bulletLayout->addWidget(note2, 3, 0, 1, 3);
    anchors->place(bullet, QRect(432, 0, 201, 101), leftTop);

    // Chart
    QGroupBox* chart = makeGroup(client, "GroupBox6", "Chart");
    auto* chartLayout = new QVBoxLayout(chart);
    chartLayout->setContentsMargins(3, 2, 2, 4);
    chartLayout->setSpacing(0);
    CheckBox1 = named(new QCheckBox(QStringLiteral("3D Dimensions")), "CheckBox1",
                      QStringLiteral("3D Dimensions"));
    CheckBox2 =
        named(new QCheckBox(QStringLiteral("Labels")), "CheckBox2", QStringLiteral("Labels"));
    CheckBox3 =
        named(new QCheckBox(QStringLiteral("Legend")), "CheckBox3", QStringLiteral("Legend"));
    Button1 = named(new QPushButton(QStringLiteral("Redraw")), "Button1", QStringLiteral("Redraw"));
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox1, CheckBox2, CheckBox3, Button1})
        chartLayout->addWidget(w);
    anchors->place(chart, QRect(637, 0, 109, 101), leftTop);

    // Chronolite
    QGroupBox* chronolite = makeGroup(client, "GroupBox3", "Chronolite");
    auto* chronoLayout = new QVBoxLayout(chronolite);
    chronoLayout->setContentsMargins(4, 2, 4, 4);
    chronoLayout->setSpacing(2);
    // The session's button and status are heard by their texts, which change as it goes.
    BitBtn1 = new QPushButton(QStringLiteral("Load!"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    QFont bold = BitBtn1->font();
    bold.setBold(true);
    BitBtn1->setFont(bold);
    showLoadButton(false);
    Label1 = new QLabel(QStringLiteral("Press button!"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Button2 =
        named(new QPushButton(QStringLiteral("COM Setup")), "Button2", QStringLiteral("COM Setup"));
    for (QWidget* w : std::initializer_list<QWidget*>{BitBtn1, Label1, Button2})
        chronoLayout->addWidget(w);
    anchors->place(chronolite, QRect(750, 0, 79, 101), leftTop | Qt::RightEdge);

    // Chart Options
    QGroupBox* chartOptions = makeGroup(client, "GroupBox8", "Chart Options");
    auto* optionsLayout = new QGridLayout(chartOptions);
    auto* seriesLabel = new QLabel(QStringLiteral("Series List:"));
    seriesLabel->setObjectName(QStringLiteral("Label12"));
    ListBox1 = named(new QListWidget, "ListBox1", QStringLiteral("Series List"));
    seriesLabel->setBuddy(ListBox1);
    Button9 =
        named(new QPushButton(QStringLiteral("Add")), "Button9", QStringLiteral("Add series"));
    Button10 = named(new QPushButton(QStringLiteral("Delete")), "Button10",
                     QStringLiteral("Delete series"));
    optionsLayout->addWidget(seriesLabel, 0, 0, 1, 2);
    optionsLayout->addWidget(ListBox1, 1, 0, 1, 2);
    optionsLayout->addWidget(Button9, 2, 0);
    optionsLayout->addWidget(Button10, 2, 1);
    anchors->place(chartOptions, QRect(659, 102, 169, 414),
                   Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);

    // Charts
    PageControl1 = named(new QTabWidget(client), "PageControl1", QStringLiteral("Charts"));
    ChartV = makeChart("ChartV", "Velocity chart");
    ChartE = makeChart("ChartE", "Energy chart");
    ChartdV = makeChart("ChartdV", "Deviation chart");
    ChartDistribution = makeChart("ChartDistribution", "Distribution chart");
    setUpCharts();
    PageControl1->addTab(ChartV, QStringLiteral("Velocity (V)"));
    PageControl1->addTab(ChartE, QStringLiteral("Energy (E)"));
    PageControl1->addTab(ChartdV, QStringLiteral("Deviation (dV)"));
    PageControl1->addTab(ChartDistribution, QStringLiteral("Distribution (V)"));
    anchors->place(PageControl1, QRect(295, 105, 361, 411),
                   Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);

    PopupMenu1 = makePopup(this, "PopupMenu1", &SaveToBMP1, "SaveToBMP1", &SaveasWMF1, "SaveasWMF1",
                           &Print2, "Print2");
    PopupMenu2 = makePopup(this, "PopupMenu2", &SavetoBMP2, "SavetoBMP2", &SaveasWMF2, "SaveasWMF2",
                           &Print3, "Print3");
    PopupMenu3 = makePopup(this, "PopupMenu3", &SaveToBMP3, "SaveToBMP3", &SaveasWMF3, "SaveasWMF3",
                           &Print4, "Print4");
    PopupMenu4 = makePopup(this, "PopupMenu4", &SaveToBMP4, "SaveToBMP4", &SaveasWMF4, "SaveasWMF4",
                           &Print5, "Print5");
    // ChartdV has no menu of its own: its right click falls through to the page control's.
    const std::pair<QWidget*, QMenu*> popups[] = {{ChartV, PopupMenu1},
                                                  {ChartE, PopupMenu2},
                                                  {PageControl1, PopupMenu3},
                                                  {ChartDistribution, PopupMenu4}};
    for (const auto& [widget, menu] : popups) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, menu,
                [widget = widget, menu = menu](const QPoint& pos) {
                    menu->popup(widget->mapToGlobal(pos));
                });
    }

    // Never shown: the received-line list and the terminal's box.
    Memo1 = named(new QPlainTextEdit(client), "Memo1", QStringLiteral("Received lines"));
    Memo1->hide();
    GroupBox1 = makeGroup(client, "GroupBox1", "Terminal");
    GroupBox1->hide();

    addDockWidget(Qt::RightDockWidgetArea, ShotStatisticsDock);
    addDockWidget(Qt::RightDockWidgetArea, SessionDock1);
    tabifyDockWidget(ShotStatisticsDock, SessionDock1);
    ShotStatisticsDock->raise();

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(kSilenceMs);
    Timer->setTimerType(Qt::PreciseTimer);
}

void TForm1::bindHandlers()
{
    const ui::ActionHandler<TForm1> actions[] = {
        {New1, &TForm1::New1Click},
        {Open1, &TForm1::Open1Click},
        {Import1, &TForm1::Import1Click},
        {ImportFromDevice1, &TForm1::ImportFromDevice1Click},
        {ImportFolder1, &TForm1::ImportFolder1Click},
        {AddSeriesFromFolder1, &TForm1::AddSeriesFromFolder1Click},
        {Save1, &TForm1::Save1Click},
        {SaveAs1, &TForm1::SaveAs1Click},
        {SaveSelectedAs1, &TForm1::SaveSelectedAs1Click},
        {Exit1, &TForm1::Exit1Click},
        {ExportTableAsCsv1, &TForm1::ExportTableAsCsv1Click},
        {ExportLabRadarReport1, &TForm1::ExportLabRadarReport1Click},
        {ExportChartAsPicture1, &TForm1::ExportChartAsPicture1Click},
        {ExportReportAsPdf1, &TForm1::ExportReportAsPdf1Click},
        {PrintReport1, &TForm1::PrintReport1Click},
        {Copy1, &TForm1::Copy1Click},
        {DeleteSelected1, &TForm1::DeleteSelected1Click},
        {BulletListEditor1, &TForm1::BulletListEditor1Click},
        {FAQ1, &TForm1::FAQ1Click},
        {About1, &TForm1::About1Click},
        {LOAD1, &TForm1::BitBtn1Click},
        {COMSetup1, &TForm1::Button2Click},
        {COMSetup2, &TForm1::Button2Click},
    };
    ui::connectActions(this, actions);
    // Only the user's choice of a bullet replaces the weight, not the list being refilled.
    connect(ComboBox1, &QComboBox::activated, this, ui::guarded([this] { ComboBox1Change(); }));
    connect(SpeedButton1, &QPushButton::clicked, this,
            ui::guarded([this] { SpeedButton1Click(); }));
    connect(BitBtn1, &QPushButton::clicked, this, ui::guarded([this] { BitBtn1Click(); }));
    connect(Timer, &QTimer::timeout, this, ui::guarded([this] { TimerTimer(); }));
    connect(Button2, &QPushButton::clicked, this, ui::guarded([this] { Button2Click(); }));
    bindChartHandlers();
    bindDistributionHandlers();
    bindViewHandlers();
    bindConfidenceHandlers();
    bindSessionHandlers();
}

void TForm1::FormCreate()
{
    table::writeHeader(m_table);
    // The header's widths are the metric ones: a remembered Imperial widens them again.
    widenUnitColumns();
    m_startDir = QDir::currentPath().toStdString();
    // One first message: the list's report, then the start note.
    std::string message;
    try {
        loadBulletList();
    } catch (const rt::InOutError& e) {
        message = e.what();
        // "File not found" alone does not say which file, nor where it was looked for.
        if (e.errorCode() == ENOENT)
            message += "\nNo bullet list '" + std::string(table::kBulletFileName) + "' in '" +
                       m_startDir + "'";
    } catch (const rt::Exception& e) {
        message = e.what();
    }
    if (!m_startNote.empty())
        message += (message.empty() ? "" : "\n") + m_startNote;
    if (!message.empty())
        throw rt::Exception(message);
}

void TForm1::loadBulletList()
{
    m_bullets.load(m_startDir);
    fillBulletCombo();
}

void TForm1::fillBulletCombo()
{
    // Filling the list is not the user's choice of a bullet: no change handler runs.
    const QSignalBlocker blocker(ComboBox1);
    m_bulletNames->setNames(m_bullets.texts(), m_bullets.count());
    ComboBox1->setCurrentIndex(0);
    setWeightText(m_bullets.entry(1).weight);
}

std::string TForm1::weightText() const
{
    return MaskEdit1->grams();
}

void TForm1::setWeightText(const std::string& weight)
{
    MaskEdit1->setGrams(weight);
}

void TForm1::applyEnergyRule(std::size_t row, const std::string& weight)
{
    table::applyEnergyRule(m_table, row, weight);
}

double TForm1::statisticsPass()
{
    // First: the panel leaves out what the pass stops at.
    updateShotStatistics();
    m_statistics = table::statisticsPass(m_table);
    showStatisticsLabels();
    return m_statistics->meanVelocity;
}

void TForm1::deviationPass(double meanVelocity)
{
    table::deviationPass(m_table, meanVelocity);
}

void TForm1::FAQ1Click()
{
    ui::prompts().execModal(HelpForm);
}

void TForm1::About1Click()
{
    ui::prompts().execModal(AboutBox);
}
