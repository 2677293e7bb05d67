#pragma once

#include "charts/externalseries.h"
#include "exports/statisticlines.h"
#include "exports/ui/report.h"
#include "imports/devicefolders.h"
#include "imports/importfile.h"
#include "imports/ui/volumes.h"
#include "table/bulletlist.h"
#include "table/download.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"
#include "table/preferencesfile.h"
#include "table/stringdetails.h"
#include "table/stringgrid.h"
#include "table/units.h"
#include "ui/prompts.h"
#include "ui/weightedit.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui {
class GridModel;
class GridView;
} // namespace ui
class QAction;
class QCheckBox;
class QCloseEvent;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QUrl;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QWidget;
class BulletNamesModel;
class ShotStatisticsPanel;
class SessionDock;
class TComPort;
class TComTerminal;
namespace chart {
class ChartWidget;
}
namespace loaddev {
class LoadDevWindow;
}
namespace table {
struct Preferences;
}

// The main window. Its controls keep the names of the window design, and the program keeps
// its state in them: numbers live as the texts the cells and labels show.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // startNote: shown with FormCreate's report, or alone when FormCreate has none.
    explicit TForm1(std::string startNote = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // The measurement table; Grid shows it.
    table::StringGrid& table() { return m_table; }
    const std::string& startDir() const { return m_startDir; }
    // What the table, labels, panel and charts show in; stored texts never change with it.
    table::Units units() const { return m_units; }
    void setUnits(table::Units units);

    // The weight field's weight in grams as the program reads it (" ,   " when unfilled): in
    // Imperial, the grams last put into it until the user types grains, which convert.
    std::string weightText() const;
    void setWeightText(const std::string& weight);

    // Loads the bullet list from StartDir and refills the combo box and the weight field.
    void loadBulletList();

    // The table's recomputations, writing their results into the labels and cells.
    void applyEnergyRule(std::size_t row, const std::string& weight);
    double statisticsPass();
    void deviationPass(double meanVelocity);

    // The string's details, which the Session dock shows and edits.
    const table::StringDetails& stringDetails() const { return m_details; }
    void setStringDetails(const table::StringDetails& details);

    // Shot details: View › Shot Details shows their columns; Edit › Exclude from Statistics
    // and Include in Statistics act on the marked rows.
    void ShotDetails1Click();
    void ExcludeFromStatistics1Click();
    void IncludeInStatistics1Click();

    // View › Load Development: the window of load tests, made when first asked for.
    void LoadDevelopment1Click();
    loaddev::LoadDevWindow* loadDevelopment();
    // A load test (.vxl) in that window, as File › Open of the window opens it.
    void openLoadTest(const QString& path);

    // The shot statistics panel's figures over all rows and over the marked ones.
    void updateShotStatistics();
    void updateSelectedShotStatistics();
    // View › Confidence: the level of the panel's ranges and flyer test, in per cent.
    int confidence() const { return m_confidence; }
    // The panel's button: the shot Grubbs' test points out, left out of the statistics.
    void ExcludeFlyerClick();

    void FormCreate();
    void FAQ1Click();
    void About1Click();

    // File menu.
    void New1Click();
    void Open1Click();
    void Import1Click();
    // File › Import from Device... and Import Folder...: a chronograph's drive or card (or a
    // copy of one) lists its strings; the one picked is imported as Import does.
    void ImportFromDevice1Click();
    void ImportFolder1Click();
    // Import's reading, questions and table change for a file already chosen.
    void importFile(const QString& path);
    // Where Import from Device looks; called off the window's thread.
    void setVolumeSource(VolumeSource source) { m_volumes = std::move(source); }
    // Open's reading of a chosen file, without its question and dialog: the table becomes
    // the file's, or a file that is not a measurement file is refused and nothing changes.
    // Other failures (a missing file) are thrown as Open throws them.
    void openFile(const QString& path);
    void Save1Click();
    void SaveAs1Click();
    void SaveSelectedAs1Click();
    void Exit1Click();
    void DeleteSelected1Click();

    // Exports and the report: File › Export, File › Print Report, Edit › Copy.
    void ExportTableAsCsv1Click();
    void ExportLabRadarReport1Click();
    void ExportChartAsPicture1Click();
    void ExportReportAsPdf1Click();
    void PrintReport1Click();
    // The marked rows for a spreadsheet; in a text field, its selected text.
    void Copy1Click();

    // Bullet group and the bullet list editor.
    void ComboBox1Change();
    void SpeedButton1Click();
    void BulletListEditor1Click();

    // The download from the chronograph.
    void BitBtn1Click();
    void ComTerminalChar(char ch);
    void TimerTimer();
    // COM Setup.
    void Button2Click();
    // ReceivedLine and the received-line list of the transmission under way.
    const table::LineAssembler& reception() const { return m_reception; }
    // A transmission ends when the line has been silent this long.
    static constexpr int kSilenceMs = 100;

    // Charts. Button1Click (Redraw) rebuilds every chart from the external series and
    // the table; every command that changes either ends with it.
    void Button1Click();
    void Button9Click();
    // Chart › Add Series from Folder...: strings of a chronograph's card or drive.
    void AddSeriesFromFolder1Click();
    void Button10Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void SaveToBMP1Click();
    void SaveasWMF1Click();
    void Print2Click();
    void SavetoBMP2Click();
    void SaveasWMF2Click();
    void Print3Click();
    void SaveToBMP3Click();
    void SaveasWMF3Click();
    void Print4Click();
    // The distribution chart's own menu.
    void SaveToBMP4Click();
    void SaveasWMF4Click();
    void Print5Click();
    // The size a chart is saved or printed at: its own, or the visible page's when its tab
    // is not showing.
    QSize chartPictureSize(const chart::ChartWidget* chart) const;

    // Controls, by their design names.
    ui::GridView* Grid = nullptr;
    QLabel* VmaxLabel = nullptr;
    QLabel* VminLabel = nullptr;
    QLabel* VaLabel = nullptr;
    QLabel* EmaxLabel = nullptr;
    QLabel* EminLabel = nullptr;
    QLabel* EaLabel = nullptr;
    QComboBox* ComboBox1 = nullptr;
    ui::WeightEdit* MaskEdit1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button2 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    chart::ChartWidget* ChartV = nullptr;
    chart::ChartWidget* ChartE = nullptr;
    chart::ChartWidget* ChartdV = nullptr;
    chart::ChartWidget* ChartDistribution = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QTimer* Timer = nullptr;
    ShotStatisticsPanel* ShotStatisticsDock = nullptr;
    SessionDock* SessionDock1 = nullptr;

    // Menu commands.
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Import1 = nullptr;
    QAction* ImportFromDevice1 = nullptr;
    QAction* ImportFolder1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* SaveSelectedAs1 = nullptr;
    QAction* ExportTableAsCsv1 = nullptr;
    QAction* ExportLabRadarReport1 = nullptr;
    QAction* ExportChartAsPicture1 = nullptr;
    QAction* ExportReportAsPdf1 = nullptr;
    QAction* PrintReport1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* ExcludeFromStatistics1 = nullptr;
    QAction* IncludeInStatistics1 = nullptr;
    // View menu: the panel's own show/hide item, and the units.
    QAction* ShotStatistics1 = nullptr;
    QAction* Session1 = nullptr;
    QAction* ShotDetails1 = nullptr;
    QAction* LoadDevelopment1 = nullptr;
    QAction* Metric1 = nullptr;
    QAction* Imperial1 = nullptr;
    QAction* Confidence90 = nullptr;
    QAction* Confidence95 = nullptr;
    QAction* Confidence99 = nullptr;
    QAction* LOAD1 = nullptr;
    QAction* COMSetup1 = nullptr;
    QAction* DeleteSelected1 = nullptr;
    QAction* AddSeries1 = nullptr;
    QAction* AddSeriesFromFolder1 = nullptr;
    QAction* DeleteSeries1 = nullptr;
    QAction* Redraw1 = nullptr;
    QAction* FitAxesToData1 = nullptr;
    QAction* BulletListEditor1 = nullptr;
    QAction* COMSetup2 = nullptr;
    QAction* FAQ1 = nullptr;
    QAction* About1 = nullptr;

    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QMenu* PopupMenu3 = nullptr;
    QAction* SaveToBMP1 = nullptr;
    QAction* SaveasWMF1 = nullptr;
    QAction* Print2 = nullptr;
    QAction* SavetoBMP2 = nullptr;
    QAction* SaveasWMF2 = nullptr;
    QAction* Print3 = nullptr;
    QAction* SaveToBMP3 = nullptr;
    QAction* SaveasWMF3 = nullptr;
    QAction* Print4 = nullptr;
    QMenu* PopupMenu4 = nullptr;
    QAction* SaveToBMP4 = nullptr;
    QAction* SaveasWMF4 = nullptr;
    QAction* Print5 = nullptr;

    // The save dialog's two kinds of file.
    static constexpr char kMeasurementsFilter[] = "Vexorel! Measurments (*.vxm)";
    static constexpr char kSessionFilter[] = "Vexorel! Session (*.vxs)";
    // Shared by File › Open and the series list's Add, as one dialog.
    ui::FileDialogState OpenDialog1;
    ui::FileDialogState SaveDialog1;
    // Chronograph exports, kept apart from the sessions' folder.
    ui::FileDialogState ImportDialog1;
    // Shared by every chart's "Save as BMP" and "Save as WMF".
    ui::FileDialogState SaveDialog2;
    ui::FileDialogState SaveDialog3;
    // The exports', one each: a spreadsheet folder is seldom the pictures' one.
    ui::FileDialogState SaveDialog4; // table as CSV
    ui::FileDialogState SaveDialog5; // LabRadar-style report
    ui::FileDialogState SaveDialog6; // chart as PNG, SVG or PDF
    ui::FileDialogState SaveDialog7; // report as PDF

    // The chronograph's line, closed at rest; closed before any widget goes.
    std::unique_ptr<TComPort> ComPort;
    // Never shown: its emulation keeps escape sequences out of the download and answers
    // the device's status requests.
    std::unique_ptr<TComTerminal> ComTerminal;

protected:
    // The close box asks Exit's question, but only when the table holds unsaved changes.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // A file or folder dropped is imported or opened as its menu command does; several, or
    // any dropped on the series list, are added as series.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void showSessionIdle(const char* status);
    void showLoadButton(bool loading);
    void setUpCharts();
    void bindChartHandlers();
    void saveChartAsBmp(chart::ChartWidget* chart);
    void saveChartAsWmf(chart::ChartWidget* chart);
    void printChart(chart::ChartWidget* chart);

    void buildMenus();
    // The width the docks add beside the central area.
    int panelWidth();
    void buildControls();
    void buildViewMenu(QMenu* view);
    void bindHandlers();
    void bindViewHandlers();
    void bindSessionHandlers();
    void buildConfidenceMenu(QMenu* view);
    void bindConfidenceHandlers();
    void bindDistributionHandlers();
    // The level's item checked, without recomputing anything.
    void checkConfidence(int percent);
    // The ranges, shots needed and flyer line over all rows; the selection's ranges.
    void showConfidenceFigures();
    void showSelectedConfidenceFigures();
    // Marks or clears the exclusion of the marked rows, or of rows top..bottom.
    void setExcluded(bool excluded);
    void setExcluded(std::size_t top, std::size_t bottom, bool excluded);
    // A download into an empty table dates the string.
    void noteDownloadTime();
    void applyPreferences(const table::Preferences& preferences);
    void rememberPreferences() const;
    // Widens the V, E and m columns too narrow for their headers in the units shown.
    void widenUnitColumns();
    // The six labels from the last statistics pass, in the display units.
    void showStatisticsLabels();
    void fillBulletCombo();
    // The charts follow every change of the table through the Redraw button's command.
    void redraw();
    // Asks a question in the program's "New" box; true for OK or Yes.
    bool confirm(const char* text, ui::MessageButtons buttons);
    void resetStatisticsLabels();
    // A name ending in .vxs gets a session file, any other a measurement file.
    void writeTableTo(const QString& path);
    // Anything beyond the six columns that only a session file keeps.
    bool hasSessionDetails() const;
    void openSession(const QString& path);
    // Save's work: the current file in its kind, asking first where a measurement file would
    // drop details; a name is asked when there is none. False when the user cancelled.
    bool saveToCurrentFile();
    // Shows "Measurments Grid is empty!" when the table holds nothing to save.
    bool refuseEmptyTable();
    // Asks for a name; the chosen file receives the table and then becomes current. False
    // when the dialog was cancelled.
    bool saveUnderNewName(bool asSession);
    // Exit's question, saving on Yes. False when the program is to stay open: Cancel, or the
    // save dialog cancelled.
    bool offerToSave();
    // The load-development window's own question for an unsaved load test; true when there
    // is none to ask.
    bool loadDevelopmentMayClose();
    void reportNotMeasurementFile(const QString& path, const table::NotMeasurementFile& refusal);
    void reportNotSessionFile(const QString& path, std::size_t line);
    // The weight in grams for the shots of a file that gives none ("" for none), or nothing
    // when the user cancelled.
    std::optional<std::string> askImportWeight(const QString& fileName);
    // The export read whole, or nothing after its refusal was shown.
    std::optional<imports::ImportedFile> readImport(const QString& path);
    // A series for the list, or nothing once a refusal was shown or a question cancelled.
    std::optional<charts::ExternalSeries> readSessionSeries(const QString& path);
    std::optional<charts::ExternalSeries> readSessionFileSeries(const QString& path);
    // Series for the list with their item texts. Add Series of files and folders, after all
    // their questions; Cancel adds nothing.
    using ListedSeries = std::vector<std::pair<QString, charts::ExternalSeries>>;
    void addSeries(const QStringList& paths);
    // A file's or a device folder's series; none once a refusal was shown, nothing when the
    // user cancelled. notAnExport: no export format fits, and nothing was shown.
    std::optional<ListedSeries> seriesOfFile(const QString& path);
    std::optional<ListedSeries> seriesOfFolder(const QString& folder);
    std::optional<ListedSeries> readExportSeries(const QString& path, bool& notAnExport);
    // Import Folder's work on a folder already chosen.
    void importFolder(const QString& folder);
    // The files of the strings picked in the listings, or nothing when cancelled or there
    // was nothing to pick (said in a message).
    std::optional<std::vector<std::string>>
    pickStrings(const std::vector<imports::DeviceListing>& listings, bool several);
    // Open's question before a command replaces the table: true when it may.
    bool mayReplaceTable();
    // A drop's work, once the drop has ended.
    void dropUrls(const QList<QUrl>& urls, bool onSeriesList);
    void setUpExportDialogs();
    // The session's file name beside the dialog's last folder.
    void proposeSessionName(ui::FileDialogState& dialog, const char* suffix) const;
    std::vector<exports::StatisticLine> exportedStatistics() const;
    exports::ReportSource reportSource() const;

    table::StringGrid m_table;
    table::StringDetails m_details;
    // What a session file held that this program does not know, written back when saved.
    std::string m_sessionKept;
    ui::GridModel* m_gridModel = nullptr;
    table::BulletList m_bullets;
    BulletNamesModel* m_bulletNames = nullptr;
    std::string m_startDir;
    std::string m_startNote;
    // ReceivedLine and the received-line list.
    table::LineAssembler m_reception;
    // The series laid over the current one; entry k is item k of ListBox1.
    charts::ExternalSeriesStore m_externalSeries;
    table::Units m_units = table::Units::Metric;
    // The last statistics pass's result, kept to show it again in other units.
    std::optional<table::Statistics> m_statistics;
    // Set while Exit closes the window it has already asked about.
    bool m_exitConfirmed = false;
    // The first show has fitted the window to its docks.
    bool m_sized = false;
    int m_confidence = table::kDefaultConfidence;
    // The ± the user set for the shots needed, in the units it was set in; until then, and
    // again for another string or unit, 1 % of the mean.
    std::optional<std::pair<int, table::Units>> m_shotsTarget;
    VolumeSource m_volumes = mountedVolumeRoots;
    loaddev::LoadDevWindow* m_loadDevelopment = nullptr;
};
