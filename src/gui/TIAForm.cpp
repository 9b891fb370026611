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
  row->addWidget(label);
  row->addWidget(MaxSuggestions);
  row->addWidget(BSuggest);
  BCancel = new QPushButton("Cancel", this);
  BCancel->setObjectName("BCancel");
  BCancel->setToolTip("Stop the run (Esc)");
  BCancel->hide();
  row->addWidget(BCancel);
  row->addWidget(BHelp);
  row->addStretch();
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
  suggestionModel_ = new GridModel([this]() -> const core::Grid& { return analysis_.SuggestionGrid; }, this);
  SuggestionGrid = new GridView("SuggestionGrid", suggestionModel_, this);
  SuggestionGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  auto widenText = [this] { SuggestionGrid->setColumnWidth(2, kRemoveColumnWidth); };
  connect(suggestionModel_, &QAbstractItemModel::modelReset, this, widenText);
  widenText();
  SuggestionGrid->hide();
  layout()->addWidget(SuggestionGrid);
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
  SuggestionGrid->hide();
}

void TIAForm::ShowModalOver(QWidget* mainWindow, const CellSizes& sizes) {
  PlaceOver(mainWindow, sizes);
  exec();
}

void TIAForm::BSuggestClick() {
  FormDialogs dialogs(dialogs_);
  BSuggest->setEnabled(false);
  {
    CancelGate gate(BCancel);
    core::BSuggestClick(problem_, state_, analysis_, dialogs);
  }
  BSuggest->setEnabled(true);
  ShowSuggestionGrid();
}

void TIAForm::ShowSuggestionGrid() {
  suggestionModel_->Reload();
  SuggestionGrid->setVisible(analysis_.SuggestionGridShown);
}

void TIAForm::BHelpClick() { ShowHelpPage("inconsistency.htm", dialogs_); }

}  // namespace vesk::gui
