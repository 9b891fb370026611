#pragma once
#include <QDialog>

#include "core/analysis/Inconsistency.h"
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"
#include "gui/CellSizes.h"

class QPushButton;
class QSpinBox;

namespace vesk::gui {

class GridModel;
class GridView;

// "Inconsistency analysis": the constraint list IGrid, "Max. suggestions",
// "Suggest", "Help" and the suggestion grid.
class TIAForm : public QDialog {
  Q_OBJECT
 public:
  TIAForm(const core::Problem& problem, const core::SortingState& state, core::InconsistencyAnalysis& analysis,
          core::UserDialogs& dialogs, QWidget* parent = nullptr);
  // Places the window over `mainWindow` and shows it modally until it closes.
  void ShowModalOver(QWidget* mainWindow, const CellSizes& sizes);

  // What ShowModalOver does before it runs the window: the placement over
  // `mainWindow` and the activation rules (cell sizes, suggestion grid
  // hidden, no solution of an earlier run offered).
  void PlaceOver(QWidget* mainWindow, const CellSizes& sizes);

  // The "Suggest" and "Help" buttons.
  void BSuggestClick();
  void BHelpClick();

 private:
  void BuildConstraintGrid();
  void BuildControls();
  void BuildSuggestionGrid();
  void ShowSuggestionGrid();

  const core::Problem& problem_;
  const core::SortingState& state_;
  core::InconsistencyAnalysis& analysis_;
  core::UserDialogs& dialogs_;
  GridModel* iModel_ = nullptr;
  GridView* IGrid = nullptr;
  QSpinBox* MaxSuggestions = nullptr;
  QPushButton* BSuggest = nullptr;
  QPushButton* BCancel = nullptr;  // shown while a run goes on
  QPushButton* BHelp = nullptr;
  GridModel* suggestionModel_ = nullptr;
  GridView* SuggestionGrid = nullptr;
};

}  // namespace vesk::gui
