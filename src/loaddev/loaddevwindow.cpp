#include "loaddev/loaddevwindow.h"

#include "chart/ui/chartwidget.h"
#include "charts/chartexport.h"
#include "imports/ui/backgroundreads.h"
#include "imports/ui/devicepicker.h"
#include "imports/ui/importchoice.h"
#include "loaddev/laddermodel.h"
#include "loaddev/shotsdialog.h"
#include "loaddev/stringfiles.h"
#include "runtime/errors.h"
#include "session/laddertexts.h"
#include "session/stringcomparison.h"
#include "ui/actionhandlers.h"
#include "ui/errorreport.h"
#include "ui/qtext.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace loaddev {

namespace {

QAction* addItem(QMenu* menu, const char* name, const char* caption,
                 const QKeySequence& shortcut = QKeySequence())
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    action->setShortcut(shortcut);
    return action;
}

template <typename W> W* named(W* widget, const char* name, const char* accessibleName)
{
    widget->setObjectName(QString::fromUtf8(name));
    widget->setAccessibleName(QString::fromUtf8(accessibleName));
    return widget;
}

// The kinds in the order the combo box lists them (session::VariableKind's).
constexpr const char* kKindCaptions[] = {"Charge", "Seating depth or length", "Other"};

} // namespace

LoadDevWindow::LoadDevWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("LoadDevelopment"));
    setAcceptDrops(true);
    OpenDialog.filter = QStringLiteral("Vexorel! Load Test (*.vxl *.VXL);;All files (*)");
    SaveDialog.filter = QStringLiteral("Vexorel! Load Test (*.vxl)");
    OpenDialog.defaultSuffix = SaveDialog.defaultSuffix = QStringLiteral("vxl");
    StringsDialog.filter = QStringLiteral("Strings (*.vxs *.vxm *.csv *.txt *.fit *.VXS *.VXM "
                                          "*.CSV *.TXT *.FIT);;Vexorel! Sessions and Measurments "
                                          "(*.vxs *.vxm *.VXS *.VXM);;") +
                           exportsFilterEntry() + QStringLiteral(";;All files (*)");
    ChartDialog.filter =
        QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)");
    ChartDialog.defaultSuffix = QStringLiteral("png");
    CsvDialog.filter = QStringLiteral("CSV spreadsheet (*.csv)");
    CsvDialog.defaultSuffix = QStringLiteral("csv");
    ReportDialog.filter = QStringLiteral("PDF document (*.pdf)");
    ReportDialog.defaultSuffix = QStringLiteral("pdf");

    buildMenus();
    buildControls();
    bindHandlers();
    showVariable();
    recompute();
    showTitle();
    resize(1000, 720);
}

LoadDevWindow::~LoadDevWindow()
{
    // A field losing the focus as the window goes would report an edit to a window that is no
    // more than a QWidget by then.
    for (QWidget* field : std::initializer_list<QWidget*>{TitleEdit, VariableName, VariableUnit,
                                                          VariableKind, Table})
        disconnect(field, nullptr, this, nullptr);
}

void LoadDevWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    New1 = addItem(file, "New1", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
    Open1 = addItem(file, "Open1", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O));
    Save1 = addItem(file, "Save1", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAs1 = addItem(file, "SaveAs1", "Save As...");
    QMenu* exportMenu = file->addMenu(QStringLiteral("E&xport"));
    exportMenu->setObjectName(QStringLiteral("Export1"));
    ExportChart1 = addItem(exportMenu, "ExportChart1", "Chart as Picture...");
    ExportTable1 = addItem(exportMenu, "ExportTable1", "Table as CSV...");
    ExportReport1 = addItem(exportMenu, "ExportReport1", "Report as PDF...");
    PrintReport1 = addItem(file, "PrintReport1", "Print Report...");
    file->addSeparator();
    Close1 = addItem(file, "Close1", "&Close", QKeySequence(Qt::CTRL | Qt::Key_W));

    QMenu* strings = menuBar()->addMenu(QStringLiteral("S&trings"));
    AddCurrentString1 = addItem(strings, "AddCurrentString1", "Add &Current String");
    AddStringsFromFiles1 = addItem(strings, "AddStringsFromFiles1", "Add Strings from &Files...");
    AddStringsFromFolder1 =
        addItem(strings, "AddStringsFromFolder1", "Add Strings from F&older...");
    strings->addSeparator();
    SplitRoundRobin1 = addItem(strings, "SplitRoundRobin1", "Split &Round-Robin...");
    ShowShots1 = addItem(strings, "ShowShots1", "&Shots...");
    RemoveString1 = addItem(strings, "RemoveString1", "Re&move String");

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    ExtremeSpreadBars1 =
        addItem(view, "ExtremeSpreadBars1", "Bars from Lowest to Highest Shot (ES)");
    ExtremeSpreadBars1->setCheckable(true);
}

void LoadDevWindow::buildControls()
{
    auto* client = new QWidget(this);
    setCentralWidget(client);
    auto* layout = new QVBoxLayout(client);

    auto* test = new QHBoxLayout;
    TitleEdit = named(new QLineEdit, "TitleEdit", "Title");
    VariableKind = named(new QComboBox, "VariableKind", "Variable");
    for (const char* caption : kKindCaptions)
        VariableKind->addItem(QString::fromUtf8(caption));
    VariableName = named(new QLineEdit, "VariableName", "Variable's name");
    VariableUnit = named(new QComboBox, "VariableUnit", "Variable's unit");
    const std::pair<const char*, QWidget*> fields[] = {{"&Title:", TitleEdit},
                                                       {"&Variable:", VariableKind},
                                                       {"&Name:", VariableName},
                                                       {"&Unit:", VariableUnit}};
    for (const auto& [caption, field] : fields) {
        auto* label = new QLabel(QString::fromUtf8(caption));
        label->setBuddy(field);
        test->addWidget(label);
        test->addWidget(field, field == TitleEdit ? 2 : 1);
    }
    layout->addLayout(test);

    m_model = new LadderModel(this);
    Table = named(new QTableView, "Table", "Strings");
    Table->setModel(m_model);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    Table->verticalHeader()->hide();
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    Chart = named(new chart::ChartWidget, "Chart", "Ladder chart");
    Chart->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* savePicture = new QAction(QStringLiteral("Save as Picture..."), Chart);
    savePicture->setObjectName(QStringLiteral("SaveChartPicture1"));
    auto* printChart = new QAction(QStringLiteral("Print"), Chart);
    printChart->setObjectName(QStringLiteral("PrintChart1"));
    Chart->addActions({savePicture, printChart});
    connect(savePicture, &QAction::triggered, this, ui::guarded([this] { ExportChart1Click(); }));
    connect(printChart, &QAction::triggered, this, ui::guarded([this] {
                charts::printOnDefaultPrinter(*Chart, Chart->size(), QStringLiteral("Ladder"));
            }));

    auto* compare = new QGroupBox(QStringLiteral("Compare"));
    compare->setObjectName(QStringLiteral("CompareBox"));
    auto* compareLayout = new QVBoxLayout(compare);
    CompareFirst = named(new QComboBox, "CompareFirst", "First string");
    CompareSecond = named(new QComboBox, "CompareSecond", "Second string");
    CompareButton = named(new QPushButton(QStringLiteral("Compare")), "CompareButton", "Compare");
    CompareButton->setToolTip(QStringLiteral(
        "Welch's t-test on the means and the F-test on the SDs, at the confidence level"));
    MeanSentence = named(new QLabel, "MeanSentence", "Means");
    SdSentence = named(new QLabel, "SdSentence", "SDs");
    for (QLabel* sentence : {MeanSentence, SdSentence}) {
        sentence->setWordWrap(true);
        sentence->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    ComparisonList = named(new QListWidget, "ComparisonList", "Comparisons made");
    RemoveComparison = named(new QPushButton(QStringLiteral("Remove Comparison")),
                             "RemoveComparison", "Remove comparison");
    compareLayout->addWidget(CompareFirst);
    compareLayout->addWidget(new QLabel(QStringLiteral("with")));
    compareLayout->addWidget(CompareSecond);
    compareLayout->addWidget(CompareButton);
    compareLayout->addWidget(MeanSentence);
    compareLayout->addWidget(SdSentence);
    compareLayout->addWidget(new QLabel(QStringLiteral("Comparisons for the report:")));
    compareLayout->addWidget(ComparisonList, 1);
    compareLayout->addWidget(RemoveComparison);

    auto* lower = new QSplitter(Qt::Horizontal);
    lower->addWidget(Chart);
    lower->addWidget(compare);
    lower->setStretchFactor(0, 3);
    lower->setStretchFactor(1, 1);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(Table);
    split->addWidget(lower);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);
}

void LoadDevWindow::bindHandlers()
{
    const ui::ActionHandler<LoadDevWindow> actions[] = {
        {New1, &LoadDevWindow::New1Click},
        {Open1, &LoadDevWindow::Open1Click},
        {ExportChart1, &LoadDevWindow::ExportChart1Click},
        {ExportTable1, &LoadDevWindow::ExportTable1Click},
        {ExportReport1, &LoadDevWindow::ExportReport1Click},
        {PrintReport1, &LoadDevWindow::PrintReport1Click},
        {AddCurrentString1, &LoadDevWindow::AddCurrentString1Click},
        {AddStringsFromFiles1, &LoadDevWindow::AddStringsFromFiles1Click},
        {AddStringsFromFolder1, &LoadDevWindow::AddStringsFromFolder1Click},
        {SplitRoundRobin1, &LoadDevWindow::SplitRoundRobin1Click},
        {ShowShots1, &LoadDevWindow::ShowShots1Click},
        {RemoveString1, &LoadDevWindow::RemoveString1Click},
    };
    ui::connectActions(this, actions);
    connect(Save1, &QAction::triggered, this, ui::guarded([this] { Save1Click(); }));
    connect(SaveAs1, &QAction::triggered, this, ui::guarded([this] { SaveAs1Click(); }));
    connect(Close1, &QAction::triggered, this, &QWidget::close);
    connect(ExtremeSpreadBars1, &QAction::toggled, this, ui::guarded([this] { recompute(); }));
    connect(CompareButton, &QPushButton::clicked, this, ui::guarded([this] { CompareClick(); }));
    connect(RemoveComparison, &QPushButton::clicked, this,
            ui::guarded([this] { RemoveComparisonClick(); }));
    connect(ComparisonList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && static_cast<std::size_t>(row) < m_test.comparisons.size())
            showComparison(m_test.comparisons[static_cast<std::size_t>(row)]);
    });
    // After the editor has closed: the table is laid out anew for the value.
    connect(
        m_model, &LadderModel::valueTyped, this,
        [this](std::size_t string, const QString& text) {
            ui::guarded([&] { setStringValue(string, text); })();
        },
        Qt::QueuedConnection);
    connect(Table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() != session::LadderValue)
            ui::guarded([this] { ShowShots1Click(); })();
    });
    connect(TitleEdit, &QLineEdit::editingFinished, this, [this] { titleEdited(); });
    connect(VariableKind, &QComboBox::activated, this, ui::guarded([this] {
                session::setVariable(
                    m_test, session::defaultVariable(
                                static_cast<session::VariableKind>(VariableKind->currentIndex())));
                showVariable();
                changed();
            }));
    connect(VariableName, &QLineEdit::editingFinished, this,
            ui::guarded([this] { variableEdited(); }));
    connect(VariableUnit, &QComboBox::currentTextChanged, this,
            ui::guarded([this] { variableEdited(); }));
}

void LoadDevWindow::setCurrentStringSource(std::function<StringSource()> source)
{
    m_currentString = std::move(source);
}

void LoadDevWindow::setUnits(table::Units units)
{
    m_units = units;
    recompute();
}

void LoadDevWindow::showVariable()
{
    m_showing = true;
    const session::Variable& v = m_test.variable;
    VariableKind->setCurrentIndex(static_cast<int>(v.kind));
    VariableName->setText(ui::toQString(v.name));
    VariableUnit->clear();
    const auto units = session::unitsOf(v.kind);
    // A charge or a length takes its units only; anything else any unit the user types.
    VariableUnit->setEditable(units.empty());
    for (const std::string_view unit : units)
        VariableUnit->addItem(ui::toQString(unit));
    if (units.empty())
        VariableUnit->setEditText(ui::toQString(v.unit));
    else
        VariableUnit->setCurrentText(ui::toQString(v.unit));
    TitleEdit->setText(ui::toQString(m_test.title));
    m_showing = false;
}

void LoadDevWindow::titleEdited()
{
    if (m_test.title == ui::toStdString(TitleEdit->text()))
        return;
    m_test.title = ui::toStdString(TitleEdit->text());
    changed();
}

void LoadDevWindow::variableEdited()
{
    if (m_showing)
        return;
    session::Variable v = m_test.variable;
    v.name = ui::toStdString(VariableName->text());
    v.unit = ui::toStdString(VariableUnit->currentText());
    if (v == m_test.variable)
        return;
    session::setVariable(m_test, std::move(v));
    changed();
}

void LoadDevWindow::changed()
{
    m_unsaved = true;
    recompute();
    showTitle();
}

void LoadDevWindow::setConfidenceLevel(double level)
{
    // A level the distributions cannot take would leave every range empty.
    if (!(level > 0 && level < 1) || level == m_level)
        return;
    m_level = level;
    recompute();
}

void LoadDevWindow::recompute()
{
    const std::optional<std::size_t> current = currentString();
    m_figures = session::ladderFigures(m_test, m_level, m_units);
    std::vector<std::size_t> rowStrings;
    rowStrings.reserve(m_figures.rows.size());
    for (const session::StringFigures& f : m_figures.rows)
        rowStrings.push_back(f.string);
    m_model->show(session::ladderTable(m_test, m_figures), std::move(rowStrings));
    if (current && *current < m_test.strings.size())
        Table->selectRow(m_model->rowOfString(*current));
    fillLadderChart(Chart->edit(), m_test, m_figures,
                    ExtremeSpreadBars1->isChecked() ? ScatterBars::ExtremeSpread
                                                    : ScatterBars::StandardDeviation);
    fillComparisonLists();
}

void LoadDevWindow::showTitle()
{
    const QString name =
        m_path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(m_path).fileName();
    setWindowTitle(QStringLiteral("Load Development \u2013 %1%2")
                       .arg(name, m_unsaved ? QStringLiteral(" *") : QString()));
}

std::optional<std::size_t> LoadDevWindow::currentString() const
{
    const QModelIndex index = Table->currentIndex();
    if (!index.isValid() || index.row() >= m_model->rowCount())
        return std::nullopt;
    return m_model->stringOfRow(index.row());
}

bool LoadDevWindow::addString(const table::StringGrid& grid, const table::StringDetails& details,
                              const std::string& kept)
{
    if (table::isEmpty(grid))
        return false;
    if (m_test.strings.size() >= session::kMaxLoadTestStrings) {
        ui::showProgramMessage(this, QStringLiteral("A load test holds at most %1 strings.")
                                         .arg(session::kMaxLoadTestStrings));
        return false;
    }
    m_test.strings.push_back(session::makeString(grid, details, m_test.variable, kept));
    changed();
    Table->selectRow(m_model->rowOfString(m_test.strings.size() - 1));
    return true;
}

void LoadDevWindow::addFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        // A LabRadar card or a Xero drive, as a folder: its strings are picked from a list.
        if (QFileInfo(path).isDir()) {
            addStringsOfFolder(path);
            continue;
        }
        // One file's failure is reported; the others still come in.
        ui::guarded([&] {
            std::optional<StringFromFile> string = readStringFile(this, path);
            if (!string)
                return;
            if (!addString(string->grid, string->details, string->kept) &&
                table::isEmpty(string->grid))
                ui::showProgramMessage(this,
                                       QStringLiteral("'%1' holds no shots; no string is added.")
                                           .arg(QFileInfo(path).fileName()));
        })();
    }
}

void LoadDevWindow::setStringValue(std::size_t string, const QString& typed)
{
    if (string >= m_test.strings.size())
        return;
    const std::optional<std::string> value = session::keptValue(ui::toStdString(typed));
    if (!value) {
        ui::showProgramMessage(this, QStringLiteral("'%1' is not a value: type a number such "
                                                    "as 42,5 or 42.5, or nothing.")
                                         .arg(typed));
        return;
    }
    if (*value == m_test.strings[string].value)
        return;
    session::setValue(m_test.strings[string], *value, m_test.variable);
    changed();
    Table->selectRow(m_model->rowOfString(string));
}

void LoadDevWindow::AddCurrentString1Click()
{
    const StringSource source = m_currentString ? m_currentString() : StringSource{};
    if (!source.grid || !addString(*source.grid, source.details))
        ui::showProgramMessage(this, QStringLiteral("The main window's table holds no shots."));
}

void LoadDevWindow::AddStringsFromFiles1Click()
{
    addFiles(ui::askOpenFiles(this, StringsDialog));
}

void LoadDevWindow::AddStringsFromFolder1Click()
{
    if (const std::optional<QString> folder = ui::askFolder(this, StringsDialog))
        addStringsOfFolder(*folder);
}

void LoadDevWindow::addStringsOfFolder(const QString& folder)
{
    const std::optional<std::vector<imports::DeviceListing>> listings =
        listFolderInBackground(this, folder);
    if (!listings)
        return;
    const bool any =
        std::any_of(listings->begin(), listings->end(),
                    [](const imports::DeviceListing& l) { return !l.strings.empty(); });
    if (!any) {
        ui::showProgramMessage(this, QStringLiteral("'%1' holds no LabRadar series and no Xero "
                                                    "sessions.")
                                         .arg(folder));
        return;
    }
    const std::optional<std::vector<std::string>> chosen = pickDeviceStrings(
        this, QStringLiteral("Add Strings"), *listings, m_units, StringPicker::Selection::Several);
    if (!chosen)
        return;
    QStringList files;
    for (const std::string& path : *chosen)
        files << ui::fromLocalPath(path);
    addFiles(files);
}

void LoadDevWindow::SplitRoundRobin1Click()
{
    const std::optional<std::size_t> string = currentString();
    if (!string) {
        ui::showProgramMessage(this, QStringLiteral("Mark the string to split in the table."));
        return;
    }
    const std::size_t shots = m_test.strings[*string].grid.rowCount() - 1;
    LoadsDialog dialog(shots, this);
    if (ui::prompts().execModal(&dialog) != QDialog::Accepted)
        return;
    if (!session::splitRoundRobin(m_test, *string, dialog.loads())) {
        ui::showProgramMessage(this, QStringLiteral("A string of %1 shots cannot be split over "
                                                    "%2 loads.")
                                         .arg(shots)
                                         .arg(dialog.loads()));
        return;
    }
    changed();
    Table->selectRow(m_model->rowOfString(*string));
}

void LoadDevWindow::ShowShots1Click()
{
    const std::optional<std::size_t> string = currentString();
    if (!string)
        return;
    ShotsDialog dialog(m_test.strings[*string].grid,
                       ui::toQString(session::stringLabel(m_test, *string)), m_units, this);
    connect(&dialog, &ShotsDialog::changed, this, [this] { changed(); });
    ui::prompts().execModal(&dialog);
}

void LoadDevWindow::RemoveString1Click()
{
    const std::optional<std::size_t> string = currentString();
    if (!string)
        return;
    if (ui::prompts().message(this, QStringLiteral("Load Development"),
                              QStringLiteral("Remove the string '%1' from the load test?")
                                  .arg(ui::toQString(session::stringLabel(m_test, *string))),
                              ui::MessageIcon::None,
                              ui::MessageButtons::OkCancel) != ui::MessageResult::Ok)
        return;
    session::removeString(m_test, *string);
    changed();
}

void LoadDevWindow::fillComparisonLists()
{
    // The strings chosen stay chosen; new lists start with two different ones.
    int chosen[2] = {0, 1};
    QComboBox* boxes[2] = {CompareFirst, CompareSecond};
    for (int k = 0; k < 2; ++k) {
        const QVariant string = boxes[k]->currentData();
        boxes[k]->clear();
        for (const session::StringFigures& f : m_figures.rows)
            boxes[k]->addItem(ui::toQString(session::stringLabel(m_test, f.string)),
                              QVariant::fromValue(static_cast<qulonglong>(f.string)));
        if (string.isValid() && boxes[k]->findData(string) >= 0)
            chosen[k] = boxes[k]->findData(string);
    }
    if (chosen[0] == chosen[1] && CompareSecond->count() > 1)
        chosen[1] = chosen[0] == 0 ? 1 : 0;
    for (int k = 0; k < 2; ++k)
        boxes[k]->setCurrentIndex(std::min(chosen[k], boxes[k]->count() - 1));
    const int row = ComparisonList->currentRow();
    ComparisonList->clear();
    for (const session::Comparison& c : m_test.comparisons) {
        const session::StringComparison result =
            session::compareStrings(m_figures, c.first, c.second);
        ComparisonList->addItem(ui::toQString(session::stringLabel(m_test, c.first) + " vs " +
                                              session::stringLabel(m_test, c.second) + "\n" +
                                              result.meanSentence + "\n" + result.sdSentence));
    }
    if (row >= 0 && row < ComparisonList->count())
        ComparisonList->setCurrentRow(row);
    if (m_test.comparisons.empty()) {
        MeanSentence->clear();
        SdSentence->clear();
    }
}

void LoadDevWindow::showComparison(const session::Comparison& comparison)
{
    const session::StringComparison result =
        session::compareStrings(m_figures, comparison.first, comparison.second);
    MeanSentence->setText(ui::toQString(result.meanSentence));
    SdSentence->setText(ui::toQString(result.sdSentence));
}

void LoadDevWindow::CompareClick()
{
    if (CompareFirst->currentIndex() < 0 || CompareSecond->currentIndex() < 0)
        return;
    const auto first = static_cast<std::size_t>(CompareFirst->currentData().toULongLong());
    const auto second = static_cast<std::size_t>(CompareSecond->currentData().toULongLong());
    if (first == second) {
        ui::showProgramMessage(this, QStringLiteral("Pick two different strings to compare."));
        return;
    }
    const session::Comparison comparison{first, second};
    const std::size_t before = m_test.comparisons.size();
    session::addComparison(m_test, comparison);
    if (m_test.comparisons.size() != before)
        changed();
    const auto at = std::find_if(m_test.comparisons.begin(), m_test.comparisons.end(),
                                 [&](const session::Comparison& c) {
                                     return (c.first == first && c.second == second) ||
                                            (c.first == second && c.second == first);
                                 });
    ComparisonList->setCurrentRow(static_cast<int>(at - m_test.comparisons.begin()));
    showComparison(comparison);
}

void LoadDevWindow::RemoveComparisonClick()
{
    const int row = ComparisonList->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_test.comparisons.size())
        return;
    m_test.comparisons.erase(m_test.comparisons.begin() + row);
    changed();
}

} // namespace loaddev
