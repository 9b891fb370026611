// "Inconsistency analysis": the constraint list IGrid, the number of
// suggestions wanted, and the suggestion grid a "Suggest" run fills.
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "core/sorting/ConstraintList.h"
#include "gui/CancelGate.h"
#include "gui/FormDialogs.h"
#include "gui/TIAForm.h"
#include "gui/GridView.h"
#include "gui/HelpPages.h"

namespace vesk::gui {

namespace {

constexpr int kMainCaptionOffset = 27;   // the window leaves the main window's caption free
constexpr int kRemoveColumnWidth = 150;  // " Constraints to remove"
constexpr int kSaysColumn = 3;           // what the constraints say, beside their numbers
constexpr const char* kSaysHeader = " What they say";

}  // namespace

TIAForm::TIAForm(const core::Problem& problem, const core::SortingState& state, core::InconsistencyAnalysis& analysis,
                 core::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), problem_(problem), state_(state), analysis_(analysis), dialogs_(dialogs) {
  setObjectName("TIAForm");
  setWindowTitle("Inconsistency analysis");
  new QVBoxLayout(this);
  BuildControls();
  BuildConstraintGrid();
  BuildSuggestionGrid();
  auto* help = new QShortcut(QKeySequence::HelpContents, this);
  connect(help, &QShortcut::activated, this, &TIAForm::BHelpClick);
}

void TIAForm::BuildControls() {
  auto* row = new QHBoxLayout;
  auto* label = new QLabel("Max. suggestions", this);
  MaxSuggestions = new QSpinBox(this);
  MaxSuggestions->setObjectName("MaxSuggestions");
  MaxSuggestions->setRange(core::kMinSuggestions, core::kMaxSuggestions);
  MaxSuggestions->setValue(analysis_.MaxSuggestions);
  // A read-only edit with an up-down: the arrows change it, typing does not.
  if (auto* edit = MaxSuggestions->findChild<QLineEdit*>()) edit->setReadOnly(true);
  label->setBuddy(MaxSuggestions);
  connect(MaxSuggestions, &QSpinBox::valueChanged, this, [this](int v) { analysis_.SetMaxSuggestions(v); });
  BSuggest = new QPushButton("Suggest", this);
  BSuggest->setObjectName("BSuggest");
  connect(BSuggest, &QPushButton::clicked, this, &TIAForm::BSuggestClick);
  BHelp = new QPushButton("Help", this);
  BHelp->setObjectName("BHelp");
  connect(BHelp, &QPushButton::clicked, this, &TIAForm::BHelpClick);
  BApply = new QPushButton("Apply", this);
  BApply->setObjectName("BApply");
  BApply->setToolTip("Remove the constraints of the selected suggestion from the problem (one step Undo takes "
                     "back) and compute the robust assignments again");
  BApply->setEnabled(false);
  connect(BApply, &QPushButton::clicked, this, &TIAForm::BApplyClick);
  BClose = new QPushButton("Close", this);
  BClose->setObjectName("BClose");
  connect(BClose, &QPushButton::clicked, this, &TIAForm::reject);
  row->addWidget(label);
  row->addWidget(MaxSuggestions);
  row->addWidget(BSuggest);
  BCancel = new QPushButton("Cancel", this);
  BCancel->setObjectName("BCancel");
  BCancel->setToolTip("Stop the run (Esc)");
  BCancel->hide();
  row->addWidget(BCancel);
  row->addWidget(BApply);
  row->addWidget(BHelp);
  row->addStretch();
  row->addWidget(BClose);
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void TIAForm::BuildConstraintGrid() {
  iModel_ = new GridModel([this]() -> const core::Grid& { return state_.IGrid; }, this);
  iModel_->look = [this](int row, int column) {
    CellLook look;
    look.blank = core::IGridCellBlank(state_.IGrid, column, row);
    return look;
  };
  IGrid = new GridView("IGrid", iModel_, this);
  IGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The description column is at least twice as wide as the others and fits
  // the descriptions.
  IGrid->SetNameColumn(1, 2);
  layout()->addWidget(IGrid);
}

void TIAForm::BuildSuggestionGrid() {
  suggestionModel_ = new GridModel([this]() -> const core::Grid& { return suggestionsShown_; }, this);
  SuggestionGrid = new GridView("SuggestionGrid", suggestionModel_, this);
  SuggestionGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  SuggestionGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  SuggestionGrid->horizontalHeader()->setStretchLastSection(true);
  auto widenText = [this] { SuggestionGrid->setColumnWidth(2, kRemoveColumnWidth); };
  connect(suggestionModel_, &QAbstractItemModel::modelReset, this, widenText);
  widenText();
  connect(SuggestionGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { BApply->setEnabled(ChosenSuggestion() > 0); });
  SuggestionGrid->hide();
  layout()->addWidget(SuggestionGrid);
}

int TIAForm::ChosenSuggestion() const {
  const int t = SuggestionGrid->currentIndex().row();
  if (!analysis_.SuggestionGridShown || t < 1 || t > static_cast<int>(analysis_.Suggestions.size())) return 0;
  return analysis_.Suggestions[static_cast<std::size_t>(t - 1)].constraints.empty() ? 0 : t;
}

void TIAForm::PlaceOver(QWidget* mainWindow, const CellSizes& sizes) {
  if (mainWindow) {
    // The outer rectangles are placed; this window is taken to get the same
    // decorations as the main window, which fixes its inner size.
    const QRect outer = mainWindow->frameGeometry();
    const QSize decorations = outer.size() - mainWindow->geometry().size();
    move(outer.left(), outer.top() + kMainCaptionOffset);
    resize(QSize(outer.width(), outer.height() - kMainCaptionOffset) - decorations);
  }
  core::OpenInconsistencyWindow(analysis_);
  IGrid->SetDefaultRowHeight(sizes.rowHeight);
  IGrid->SetDefaultColumnWidth(sizes.columnWidth);
  IGrid->SetFontSize(sizes.fontSize);
  iModel_->Reload();
  MaxSuggestions->setValue(analysis_.MaxSuggestions);
  ShowSuggestionGrid();
}

void TIAForm::ShowModalOver(QWidget* mainWindow, const CellSizes& sizes) {
  PlaceOver(mainWindow, sizes);
  exec();
}

void TIAForm::BSuggestClick() {
  // Every suggestion found is shown at once, so that the rows are there
  // before the run's closing message.
  FormDialogs dialogs(dialogs_, [this](int) {
    ShowSuggestionGrid();
    repaint();
  });
  BSuggest->setEnabled(false);
  BApply->setEnabled(false);
  {
    CancelGate gate(BCancel);
    core::BSuggestClick(problem_, state_, analysis_, dialogs);
  }
  BSuggest->setEnabled(true);
  ShowSuggestionGrid();
}

void TIAForm::BApplyClick() {
  const int t = ChosenSuggestion();
  if (t == 0) return;
  analysis_.ApplyRequested = t;
  accept();
}

void TIAForm::ShowSuggestionGrid() {
  // The run's grid, with what each suggestion's constraints say beside their
  // numbers.
  suggestionsShown_ = analysis_.SuggestionGrid;
  suggestionsShown_.Resize(std::max(1, suggestionsShown_.RowCount()), kSaysColumn + 1);
  suggestionsShown_.SetCell(0, kSaysColumn, kSaysHeader);
  for (std::size_t i = 0; i < analysis_.Suggestions.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    if (row < suggestionsShown_.RowCount())
      suggestionsShown_.SetCell(row, kSaysColumn, core::DescribeSuggestion(problem_, state_, analysis_.Suggestions[i]));
  }
  suggestionModel_->Reload();
  SuggestionGrid->setVisible(analysis_.SuggestionGridShown);
  BApply->setEnabled(ChosenSuggestion() > 0);
}

void TIAForm::BHelpClick() { ShowHelpPage("inconsistency.htm", dialogs_, this); }

}  // namespace vesk::gui
