#pragma once

#include "loaddev/ladderchart.h"
#include "session/ladder.h"
#include "session/loadtest.h"
#include "table/stringdetails.h"
#include "table/stringgrid.h"
#include "table/units.h"
#include "ui/prompts.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
namespace chart {
class ChartWidget;
}

namespace loaddev {

class LadderModel;

// What Add Current String takes from the main window: its table and the string's details.
struct StringSource {
    const table::StringGrid* grid = nullptr;
    table::StringDetails details;
};

// The load-development window: a load test's strings side by side, its ladder chart, and
// comparisons of two strings. Not modal; the main window opens it and asks it before the
// program closes.
class LoadDevWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit LoadDevWindow(QWidget* parent = nullptr);
    ~LoadDevWindow() override;

    // Where Add Current String reads the main window's string.
    void setCurrentStringSource(std::function<StringSource()> source);
    // Velocities in the main window's units.
    void setUnits(table::Units units);
    table::Units units() const { return m_units; }

    // A string from a table's data rows and its details; the table stays the caller's.
    // False for a table without shots.
    bool addString(const table::StringGrid& grid, const table::StringDetails& details,
                   const std::string& kept = {});
    // Adds one string from each file (a session, a measurement file, any export the import
    // reads, a FIT file), asking each file's questions in turn; a file refused or a question
    // cancelled adds nothing and the next file follows. What a picker of a LabRadar card's
    // series or files dropped on the window hand over.
    void addFiles(const QStringList& paths);

    // Reads a load test in place of the one shown, without asking about it first (File ›
    // Open asks). A refused file is reported and changes nothing.
    bool openFile(const QString& path);

    // The close question: for an unsaved load test, whether to save it (Yes, No, Cancel).
    // True when the window may go: nothing unsaved, No, or Yes and a save that worked.
    bool mayClose();
    bool hasUnsavedChanges() const { return m_unsaved; }

    // The level of the ranges and comparisons, as a probability: the main window's View ›
    // Confidence. Every figure follows it.
    void setConfidenceLevel(double level);
    // Computes every figure anew.
    void recompute();

    const session::LoadTest& loadTest() const { return m_test; }
    const session::LadderFigures& figures() const { return m_figures; }
    const QString& currentFile() const { return m_path; }
    const chart::ChartWidget* ladderChart() const { return Chart; }

    // The File menu.
    void New1Click();
    void Open1Click();
    bool Save1Click();
    bool SaveAs1Click();
    void ExportChart1Click();
    void ExportTable1Click();
    void ExportReport1Click();
    void PrintReport1Click();
    // The Strings menu.
    void AddCurrentString1Click();
    void AddStringsFromFiles1Click();
    // A card's or drive's strings, picked from its listing.
    void AddStringsFromFolder1Click();
    void SplitRoundRobin1Click();
    void ShowShots1Click();
    void RemoveString1Click();
    // Compare: the two strings chosen.
    void CompareClick();
    void RemoveComparisonClick();

    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* ExportChart1 = nullptr;
    QAction* ExportTable1 = nullptr;
    QAction* ExportReport1 = nullptr;
    QAction* PrintReport1 = nullptr;
    QAction* Close1 = nullptr;
    QAction* AddCurrentString1 = nullptr;
    QAction* AddStringsFromFiles1 = nullptr;
    QAction* AddStringsFromFolder1 = nullptr;
    QAction* SplitRoundRobin1 = nullptr;
    QAction* ShowShots1 = nullptr;
    QAction* RemoveString1 = nullptr;
    QAction* ExtremeSpreadBars1 = nullptr;

    QLineEdit* TitleEdit = nullptr;
    QComboBox* VariableKind = nullptr;
    QLineEdit* VariableName = nullptr;
    QComboBox* VariableUnit = nullptr;
    QTableView* Table = nullptr;
    chart::ChartWidget* Chart = nullptr;
    QComboBox* CompareFirst = nullptr;
    QComboBox* CompareSecond = nullptr;
    QPushButton* CompareButton = nullptr;
    QLabel* MeanSentence = nullptr;
    QLabel* SdSentence = nullptr;
    QListWidget* ComparisonList = nullptr;
    QPushButton* RemoveComparison = nullptr;

    ui::FileDialogState OpenDialog;
    ui::FileDialogState SaveDialog;
    ui::FileDialogState StringsDialog;
    ui::FileDialogState ChartDialog;
    ui::FileDialogState CsvDialog;
    ui::FileDialogState ReportDialog;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void addStringsOfFolder(const QString& folder);
    void buildMenus();
    void buildControls();
    void bindHandlers();
    void changed();
    // The test the window shows from now on, in `path` (empty: in no file), nothing unsaved.
    void showTest(session::LoadTest test, const QString& path);
    void showTitle();
    void showVariable();
    void titleEdited();
    void variableEdited();
    void setStringValue(std::size_t string, const QString& typed);
    // The string of the table's current row, or nothing without one.
    std::optional<std::size_t> currentString() const;
    void showComparison(const session::Comparison& comparison);
    void fillComparisonLists();
    bool saveTo(const QString& path);
    // Asks the close question when there is something unsaved; false for Cancel.
    bool offerToSave();
    QString reportName() const;

    session::LoadTest m_test;
    session::LadderFigures m_figures;
    LadderModel* m_model = nullptr;
    std::function<StringSource()> m_currentString;
    table::Units m_units = table::Units::Metric;
    double m_level = 0.95;
    QString m_path;
    bool m_unsaved = false;
    // While the variable's fields are filled from the test, not by the user.
    bool m_showing = false;
};

} // namespace loaddev
