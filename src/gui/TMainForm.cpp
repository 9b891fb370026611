// The main window's construction: toolbar, page controls, status line, menus,
// context menus and the secondary forms.
#include "gui/TMainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/HelpPages.h"
#include "gui/InputGrids.h"
#include "gui/ResultGrids.h"
#include "gui/TIAForm.h"
#include "gui/TNewFileForm.h"
#include "gui/TVolumeForm.h"
#include "gui/Ttfernform.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::gui {

namespace {

constexpr int kSpeedBarHeight = 33;
constexpr int kStatusPanelWidth = 315;

// A read-only edit with an up-down: only the arrows change the value.
class UpDownEdit : public QSpinBox {
 public:
  UpDownEdit(const QString& name, int low, int high, int step, int start, QWidget* parent) : QSpinBox(parent) {
    setObjectName(name);
    setRange(low, high);
    setSingleStep(step);
    setValue(start);
    lineEdit()->setReadOnly(true);
  }
};

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(hint);
  widget->setStatusTip(hint);
}

QToolButton* SpeedButton(const QString& name, QStyle::StandardPixmap icon, const QString& hint, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setAutoRaise(true);
  SetHint(button, hint);
  return button;
}

QLabel* Label(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), dialogs_(this), host_(this) {
  setObjectName("MainForm");
  setWindowTitle(QString::fromStdString(problem_.Caption));
  solver::LpSetHost(&host_);
  CreateSpeedBar();
  CreatePageControls();
  CreateStatusLine();
  CreateActions();
  SetupMenuBar();
  SetupContextMenus();
  CreateForms();
  dialogs_.SetProgressWidgets(calcPanel_, calcProgressBar_, calcCancelButton_);
  ApplyCellSizes();
  UpdateRecentFilesMenu();

  resize(640, 471);
  if (const QScreen* screen = QApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  UpdateWindow();
}

TMainForm::~TMainForm() {
  // The tables, the grid sets and the forms read the problem and the results,
  // which go with this object: they go first. An editor closing on the way
  // out no longer reaches the window's menus, whose context items go too.
  disconnect(inputs_, nullptr, this, nullptr);
  const QList<QWidget*> widgets = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  qDeleteAll(widgets);
  delete inputs_;
  delete results_;
  solver::LpRelease();
  solver::LpSetHost(nullptr);
}

void TMainForm::CreateSpeedBar() {
  auto* top = new QWidget(this);
  top->setFixedHeight(kSpeedBarHeight);
  auto* stack = new QGridLayout(top);
  stack->setContentsMargins(0, 0, 0, 0);

  speedBar_ = new QWidget(top);
  speedBar_->setObjectName("SpeedBar");
  auto* bar = new QHBoxLayout(speedBar_);
  bar->setContentsMargins(4, 2, 4, 2);
  bar->setSpacing(4);
  auto* newButton = SpeedButton("SpeedButtonNew", QStyle::SP_FileIcon, "New file", speedBar_);
  auto* openButton = SpeedButton("SpeedButtonOpen", QStyle::SP_DialogOpenButton, "Open existing file", speedBar_);
  auto* saveButton = SpeedButton("SpeedButtonSave", QStyle::SP_DialogSaveButton, "Save all input data", speedBar_);
  auto* reportButton = SpeedButton("SpeedButtonReport", QStyle::SP_FileDialogDetailedView,
                                   "Save on file a results report", speedBar_);
  reportButton->setEnabled(false);
  auto* calcButton = SpeedButton("SpeedButtonCalc", QStyle::SP_MediaPlay,
                                 "Calculate range of assignments for each action (F9)", speedBar_);
  connect(calcButton, &QToolButton::clicked, this, [this] { CalcRangeItemClick(); });
  speedButtonCalc_ = calcButton;
  connect(newButton, &QToolButton::clicked, this, &TMainForm::NewItemClick);
  connect(openButton, &QToolButton::clicked, this, &TMainForm::OpenItemClick);
  connect(saveButton, &QToolButton::clicked, this, &TMainForm::SaveDataAsItemClick);
  connect(reportButton, &QToolButton::clicked, this, &TMainForm::ReportItemClick);
  speedButtonSave_ = saveButton;
  speedButtonReport_ = reportButton;
  for (QWidget* w : {static_cast<QWidget*>(newButton), static_cast<QWidget*>(openButton),
                     static_cast<QWidget*>(saveButton), static_cast<QWidget*>(reportButton),
                     static_cast<QWidget*>(calcButton)})
    bar->addWidget(w);
  bar->addSpacing(12);
  bar->addWidget(Label("CELLS:", speedBar_));

  heightUpDown_ = new UpDownEdit("HeightUpDown", 8, 30, 2, 16, speedBar_);
  widthUpDown_ = new UpDownEdit("WidthUpDown", 12, 96, 4, 48, speedBar_);
  fontUpDown_ = new UpDownEdit("FontUpDown", 6, 24, 2, 8, speedBar_);
  const struct {
    const char* label;
    QSpinBox* upDown;
    const char* hint;
  } controls[] = {{"Heigth", heightUpDown_, "Height of the grid cells"},
                  {"Width", widthUpDown_, "Width of the grid cells"},
                  {"Font size", fontUpDown_, "Cell font size"}};
  for (const auto& c : controls) {
    bar->addWidget(Label(c.label, speedBar_));
    SetHint(c.upDown, c.hint);
    bar->addWidget(c.upDown);
    connect(c.upDown, &QSpinBox::valueChanged, this, &TMainForm::ApplyCellSizes);
  }
  bar->addStretch(1);
  stack->addWidget(speedBar_, 0, 0);

  calcPanel_ = new QWidget(top);
  calcPanel_->setObjectName("CalcPanel");
  calcPanel_->setAutoFillBackground(true);
  auto* calc = new QHBoxLayout(calcPanel_);
  calc->setContentsMargins(8, 2, 8, 2);
  calc->addWidget(Label("Calculating. Please wait...", calcPanel_));
  calcProgressBar_ = new QProgressBar(calcPanel_);
  calcProgressBar_->setObjectName("CalcProgressBar");
  calcProgressBar_->setRange(0, 100);
  calcProgressBar_->setTextVisible(false);
  calc->addWidget(calcProgressBar_, 1);
  calcCancelButton_ = new QPushButton("Cancel", calcPanel_);
  calcCancelButton_->setObjectName("CalcCancelButton");
  calcCancelButton_->setToolTip("Stop the computation (Esc)");
  calc->addWidget(calcCancelButton_);
  calcPanel_->hide();
  stack->addWidget(calcPanel_, 0, 0);

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(top);
  setCentralWidget(central);
}

QWidget* TMainForm::CreateFixedParPage() {
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(inputs_->FGrid, 1);
  SetHint(inputs_->FGrid, "Use veto thresholds");
  auto* panel = new QWidget(page);
  panel->setObjectName("FGridPanel");
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(4, 2, 4, 2);
  auto* usevj = new QToolButton(panel);
  usevj->setObjectName("UsevjButton");
  usevj->setText("Use vj");
  usevj->setCheckable(true);
  SetHint(usevj, "Use veto thresholds");
  auto* useuj = new QToolButton(panel);
  useuj->setObjectName("UseujButton");
  useuj->setText("Use uj");
  useuj->setCheckable(true);
  SetHint(useuj, "Use discordance thresholds");
  connect(usevj, &QToolButton::clicked, this, &TMainForm::UsevjButtonClick);
  connect(useuj, &QToolButton::clicked, this, &TMainForm::UseujButtonClick);
  row->addWidget(usevj);
  row->addWidget(useuj);
  row->addStretch(1);
  column->addWidget(panel);
  usevjButton_ = usevj;
  useujButton_ = useuj;
  return page;
}

QWidget* TMainForm::CreateResultsPage() {
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(0, 0, 0, 0);
  auto* ranges = new QWidget(page);
  auto* over = new QGridLayout(ranges);
  over->setContentsMargins(0, 0, 0, 0);
  over->addWidget(results_->RGrid, 0, 0);
  over->addWidget(results_->ORGrid, 0, 0);  // lies over RGrid, shown by the variability view
  results_->ORGrid->hide();
  SetHint(results_->RGrid, "Select cells to see solution for the respective assignment");
  SetHint(results_->ORGrid, "Select cells to see a solution for the respective assignment");
  column->addWidget(ranges, 1);
  column->addWidget(results_->DGrid);
  return page;
}

QWidget* TMainForm::CreateIndicesPage() {
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  column->addWidget(Label("GEOMETRIC MEAN FOR No. CATEGORIES", page));
  column->addWidget(Label("(Including examples)", page));
  indexLabel_ = Label("0", page);
  indexLabel_->setObjectName("IndexLabel");
  variationLabel_ = Label("", page);
  variationLabel_->setObjectName("VariationLabel");
  column->addWidget(indexLabel_);
  column->addWidget(variationLabel_);
  column->addStretch(1);
  return page;
}

void TMainForm::CreatePageControls() {
  inputs_ = new InputGrids(problem_, dialogs_, this);
  results_ = new ResultGrids(problem_, state_, dialogs_, this);
  connect(inputs_, &InputGrids::problemChanged, this, &TMainForm::InputChanged);
  connect(inputs_, &InputGrids::editFinished, this, &TMainForm::EditFinished);

  pageControlIn_ = new QTabWidget;
  pageControlIn_->setObjectName("PageControlIn");
  pageControlIn_->addTab(inputs_->AGrid, "Actions");
  pageControlIn_->addTab(CreateFixedParPage(), "Fixed Par.");
  pageControlIn_->addTab(inputs_->BGrid, "Bounds");
  pageControlIn_->addTab(inputs_->CGrid, "Constraints");

  pageControlOut_ = new QTabWidget;
  pageControlOut_->setObjectName("PageControlOut");
  pageControlOut_->addTab(CreateResultsPage(), "Results");
  inferredConstraintsTab_ = pageControlOut_->addTab(results_->ICGrid, "Inferred constraints");
  pageControlOut_->addTab(results_->IPGrid, "Infer. Prog.");
  indicesTab_ = pageControlOut_->addTab(CreateIndicesPage(), "Indices");

  auto scroll = [this](QWidget* content, const char* name) {
    auto* box = new QScrollArea;
    box->setObjectName(name);
    box->setWidgetResizable(true);
    box->setFrameShape(QFrame::NoFrame);
    box->setWidget(content);
    return box;
  };
  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->setObjectName("Splitter");
  splitter->setHandleWidth(3);
  splitter->addWidget(scroll(pageControlIn_, "ScrollBoxIn"));
  splitter->addWidget(scroll(pageControlOut_, "ScrollBoxOut"));
  splitter->setSizes({320, 320});
  static_cast<QVBoxLayout*>(centralWidget()->layout())->addWidget(splitter, 1);
}

void TMainForm::CreateStatusLine() {
  auto* line = new QStatusBar(this);
  line->setObjectName("StatusLine");
  line->setSizeGripEnabled(false);
  statusPanel_ = new QLabel(line);
  statusPanel_->setObjectName("StatusPanel");
  statusPanel_->setFixedWidth(kStatusPanelWidth);
  statusPanel_->setFrameShape(QFrame::StyledPanel);
  line->addWidget(statusPanel_);
  setStatusBar(line);
}

QAction* TMainForm::MakeAction(const QString& name, const QString& text, const QString& hint,
                               const std::function<void()>& handler) {
  auto* action = new QAction(text, this);
  action->setObjectName(name);
  if (!hint.isEmpty()) action->setStatusTip(hint);
  connect(action, &QAction::triggered, this, [handler] { handler(); });
  return action;
}

QAction* TMainForm::StructuralAction(const QString& name, const QString& text, const QString& hint,
                                     core::StructuralCommand command) {
  QAction* action = MakeAction(name, text, hint, [this, command] { StructuralItemClick(command); });
  rules_.push_back({action, [this, command] { return core::StructuralCommandEnabled(problem_, command); }});
  return action;
}

void TMainForm::CreateActions() {
  // Created here, placed by SetupMenuBar; every action is found by its name.
  using core::StructuralCommand;
  // Accelerator letters are unique within each menu; the standard keys of
  // desktop programs reach the commands too.
  MakeAction("NewItem", "&New", "New file", [this] { NewItemClick(); })->setShortcut(QKeySequence::New);
  MakeAction("OpenItem", "&Open...", "Open existing file", [this] { OpenItemClick(); })
      ->setShortcut(QKeySequence::Open);
  QAction* report = MakeAction("ReportItem", "&Report", "Save on file a results report", [this] { ReportItemClick(); });
  rules_.push_back({report, [this] { return ResultsCurrent(); }});
  QAction* save = MakeAction("SaveDataItem", "&Save Data", "Save all input data", [this] { SaveDataItemClick(); });
  QAction* saveAs =
      MakeAction("SaveDataAsItem", "Save Data &As...", "Save all input data", [this] { SaveDataAsItemClick(); });
  save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  rules_.push_back({save, [this] { return problem_.TablesShown; }});
  rules_.push_back({saveAs, [this] { return problem_.TablesShown; }});
  MakeAction("ImportPerformancesItem", "&Import performances...", "Read the actions' performances from a CSV file",
             [this] { ImportPerformancesItemClick(); });
  QAction* exportResults = MakeAction("ExportResultsItem", "&Export results...", "Save the results as a CSV file",
                                      [this] { ExportResultsItemClick(); });
  rules_.push_back({exportResults, [this] { return ResultsCurrent(); }});
  QAction* exportPicture = MakeAction("ExportPictureItem", "Export ranges pi&cture...",
                                      "Save a picture of the ranges as a PNG or SVG file",
                                      [this] { ExportPictureItemClick(); });
  rules_.push_back({exportPicture, [this] { return ResultsCurrent(); }});
  MakeAction("PrintFormItem", "&Print Form...", "Print the current contents of the Vesk window",
             [this] { PrintFormItemClick(); })
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  MakeAction("PrintSetupItem", "Print Se&tup...", "Define printer settings", [this] { PrintSetupItemClick(); });
  MakeAction("ExitItem", "E&xit", "Exit Vesk", [this] { ExitItemClick(); });
  // The recent files: one item per place in the list, shown while it holds a file.
  for (int i = 0; i < RecentFiles::kMaxFiles; ++i) {
    QAction* recent = MakeAction(QString("RecentFileItem%1").arg(i + 1), QString(), QString(),
                                 [this, i] { RecentFileItemClick(recentItems_[i]->data().toString()); });
    recent->setVisible(false);
    recent->setEnabled(false);
    recentItems_[i] = recent;
  }

  QAction* undo = MakeAction("UndoItem", "&Undo", "Undo the last change to the problem", [this] { UndoItemClick(); });
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QAction* redo = MakeAction("RedoItem", "&Redo", "Redo the change undone last", [this] { RedoItemClick(); });
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  // A change typed into a cell counts as soon as it is in the table.
  rules_.push_back({undo, [this] { return history_.CanUndo() || history_.Pending(problem_); }});
  rules_.push_back({redo, [this] { return history_.CanRedo() && !history_.Pending(problem_); }});

  StructuralAction("SplitItem", "&Split", "Split one category into two", StructuralCommand::SplitCategory);
  StructuralAction("MergeItem", "&Merge", "Merge two categories into one", StructuralCommand::MergeCategories);
  StructuralAction("InsertCriterionItem", "&Insert", "Insert new criterion", StructuralCommand::InsertCriterion);
  StructuralAction("DeleteCriterionItem", "&Delete", "Delete one of the criteria", StructuralCommand::DeleteCriterion);
  StructuralAction("InsertActionItem", "&Insert", "Insert new action", StructuralCommand::InsertAction);
  StructuralAction("DeleteActionItem", "&Delete", "Delete an action", StructuralCommand::DeleteAction);
  StructuralAction("EraseExamplesItem", "&Erase examples", "", StructuralCommand::EraseExamples);
  StructuralAction("InsertConstraintItem", "&Insert", "Insert new constraint", StructuralCommand::InsertConstraint);
  StructuralAction("DeleteConstraintItem", "&Delete", "Delete a constraint", StructuralCommand::DeleteConstraint);

  MakeAction("VolumeComputationItem", "Volume &Computation", "Estimate volume of inputs region",
             [this] { VolumeComputationItemClick(); });
  MakeAction("CalcRangeItem", "&Robust Assignments", "Calculate range of assignments for each action",
             [this] { CalcRangeItemClick(); })
      ->setShortcut(QKeySequence(Qt::Key_F9));
  auto* order = new QActionGroup(this);
  order->setExclusive(true);
  inputOrderItem_ = MakeAction("InputOrderItem", "by &Input Order", "Output ranges appear in \"Actions\" order",
                               [this] { InputOrderItemClick(); });
  variabilityOrderItem_ = MakeAction("VariabilityOrderItem", "by &Variability Order",
                                     "Output ranges appear ordered by variability",
                                     [this] { VariabilityOrderItemClick(); });
  for (QAction* a : {inputOrderItem_, variabilityOrderItem_}) {
    a->setCheckable(true);
    order->addAction(a);
  }
  inputOrderItem_->setChecked(true);
  rules_.push_back({variabilityOrderItem_, [this] { return state_.VariabilityOrderEnabled; }});

  inconsistencyItem_ =
      MakeAction("InconsistencyItem", "&Inconsistency", "Inconsistency analysis", [this] { InconsistencyItemClick(); });
  inconsistencyItem_->setEnabled(false);
  rules_.push_back({inconsistencyItem_, [this] { return core::InconsistencyCommandEnabled(problem_, state_); }});

  MakeAction("OnlineManualItem", "&Online manual", "", [this] { OnlineManualItemClick(); });

  // Keys without a menu item: help for what has the focus, and the tabs of
  // the page control that has it.
  QAction* contextHelp = MakeAction("ContextHelpItem", "Help", "", [this] { ContextHelpClick(); });
  contextHelp->setShortcut(QKeySequence(Qt::Key_F1));
  QAction* nextTab = MakeAction("NextTabItem", "Next tab", "", [this] { SwitchTabClick(1); });
  nextTab->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
  QAction* previousTab = MakeAction("PreviousTabItem", "Previous tab", "", [this] { SwitchTabClick(-1); });
  previousTab->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                             QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
  for (QAction* key : {contextHelp, nextTab, previousTab}) {
    key->setShortcutContext(Qt::WindowShortcut);
    addAction(key);
  }
  MakeAction("HowToUseHelpItem", "&How to Use Help", "", [this] { HowToUseHelpItemClick(); });
  MakeAction("AboutItem", "&About...", "", [this] { AboutItemClick(); });
}

void TMainForm::SetupMenuBar() {
  auto item = [this](const char* name) { return findChild<QAction*>(name, Qt::FindDirectChildrenOnly); };
  auto menu = [this](const char* name, const QString& title) {
    QMenu* m = menuBar()->addMenu(title);
    m->setObjectName(name);
    connect(m, &QMenu::aboutToShow, this, &TMainForm::UpdateMenus);
    return m;
  };
  QMenu* file = menu("FileMenu", "&File");
  for (const char* name : {"NewItem", "OpenItem", "ReportItem", "SaveDataItem", "SaveDataAsItem"})
    file->addAction(item(name));
  file->addSeparator();
  file->addAction(item("ImportPerformancesItem"));
  file->addAction(item("ExportResultsItem"));
  file->addAction(item("ExportPictureItem"));
  file->addSeparator();
  file->addAction(item("PrintFormItem"));
  file->addAction(item("PrintSetupItem"));
  file->addSeparator();
  for (QAction* recent : recentItems_) file->addAction(recent);
  recentSeparator_ = file->addSeparator();
  file->addAction(item("ExitItem"));
  // Another window may have changed the list meanwhile.
  connect(file, &QMenu::aboutToShow, this, &TMainForm::UpdateRecentFilesMenu);

  QMenu* edit = menu("EditMenu", "&Edit");
  edit->addAction(item("UndoItem"));
  edit->addAction(item("RedoItem"));

  QMenu* categories = menu("CategoriesMenu", "Ca&tegories");
  categories->addAction(item("SplitItem"));
  categories->addAction(item("MergeItem"));
  QMenu* criteria = menu("CriteriaMenu", "&Criteria");
  criteria->addAction(item("InsertCriterionItem"));
  criteria->addAction(item("DeleteCriterionItem"));
  QMenu* actions = menu("ActionsMenu", "&Actions");
  actions->addAction(item("InsertActionItem"));
  actions->addAction(item("DeleteActionItem"));
  actions->addAction(item("EraseExamplesItem"));
  QMenu* constraints = menu("ConstraintsMenu", "C&onstraints");
  constraints->addAction(item("InsertConstraintItem"));
  constraints->addAction(item("DeleteConstraintItem"));

  QMenu* results = menu("ResultsMenu", "&Results");
  results->addAction(item("VolumeComputationItem"));
  results->addAction(item("CalcRangeItem"));
  results->addSeparator();
  results->addAction(inputOrderItem_);
  results->addAction(variabilityOrderItem_);

  // A command of its own on the menu bar, without a menu to open: its
  // enabling follows every change (UpdateWindow).
  menuBar()->addAction(inconsistencyItem_);

  QMenu* help = menu("HelpMenu", "&Help");
  help->addAction(item("OnlineManualItem"));
  help->addAction(item("HowToUseHelpItem"));
  help->addAction(item("AboutItem"));
}

void TMainForm::AttachContextMenu(GridView* grid, const QString& name, const std::function<void(QMenu*)>& fill,
                                  const QString& helpPage) {
  helpPages_[grid] = helpPage;
  auto* popup = new QMenu(grid);
  popup->setObjectName(name);
  if (fill) fill(popup);
  QAction* help = popup->addAction("&Help");
  help->setObjectName(name + "Help");
  connect(help, &QAction::triggered, this, [this, helpPage] { RunCommand([&] { return ShowHelpPage(helpPage, dialogs_); }); });
  connect(popup, &QMenu::aboutToShow, this, &TMainForm::UpdateMenus);
  grid->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid, &QWidget::customContextMenuRequested, popup,
          [grid, popup](const QPoint& at) { popup->popup(grid->viewport()->mapToGlobal(at)); });
}

void TMainForm::SetupContextMenus() {
  using core::StructuralCommand;
  // The items of the context menus are actions of their own, under the same
  // handlers and enabling rules as the menu bar's.
  auto structural = [this](QMenu* menu, const QString& name, const QString& text, const QString& hint,
                           StructuralCommand command) {
    QAction* a = StructuralAction(name, text, hint, command);
    a->setParent(menu);
    menu->addAction(a);
  };
  auto criteria = [&](QMenu* popup, const QString& prefix) {
    QMenu* m = popup->addMenu("&Criteria");
    m->setObjectName(prefix + "CriteriaMenu");
    structural(m, prefix + "InsertCriterionItem", "&Insert", "Insert new criterion", StructuralCommand::InsertCriterion);
    structural(m, prefix + "DeleteCriterionItem", "&Delete", "Delete one of the criteria",
               StructuralCommand::DeleteCriterion);
  };
  AttachContextMenu(inputs_->AGrid, "AGridPopup", [&](QMenu* popup) {
    QMenu* m = popup->addMenu("&Actions");
    m->setObjectName("AGridActionsMenu");
    structural(m, "AGridInsertActionItem", "&Insert", "Insert new action", StructuralCommand::InsertAction);
    structural(m, "AGridDeleteActionItem", "&Delete", "Delete an action", StructuralCommand::DeleteAction);
    criteria(popup, "AGrid");
  }, "actions_in.htm");
  AttachContextMenu(inputs_->FGrid, "FGridPopup", [&](QMenu* popup) { criteria(popup, "FGrid"); }, "fixedpar_in.htm");
  AttachContextMenu(inputs_->BGrid, "BGridPopup", {}, "bound_in.htm");
  AttachContextMenu(inputs_->CGrid, "CGridPopup", [&](QMenu* popup) {
    structural(popup, "CGridInsertConstraintItem", "&Insert constraint", "Inserts new constraint",
               StructuralCommand::InsertConstraint);
    structural(popup, "CGridDeleteConstraintItem", "&Delete constraint", "Delete the constraint selected",
               StructuralCommand::DeleteConstraint);
  }, "cons_in.htm");
  AttachContextMenu(results_->RGrid, "RGridPopup", {}, "results.htm");
  AttachContextMenu(results_->ORGrid, "ORGridPopup", {}, "results.htm");
  AttachContextMenu(results_->IPGrid, "IPGridPopup", {}, "inferprog.htm");
  // Grids without a context menu of their own, for F1.
  helpPages_[results_->ICGrid] = "inferprog.htm";
  helpPages_[results_->DGrid] = "results.htm";
}

void TMainForm::CreateForms() {
  newForm_ = new TNewFileForm(dialogs_, this);
  iaForm_ = new TIAForm(problem_, state_, analysis_, dialogs_, this);
  volumeForm_ = new TVolumeForm(problem_, state_, volume_, dialogs_, this);
  tfernform_ = new Ttfernform(this);
  tfernform_->setWindowFlag(Qt::Window);
  tfernform_->hide();
}

}  // namespace vesk::gui
