#pragma once
// The windows the main window opens besides itself. Each is one form with
// its own file (TNewFileForm.cpp, TIAForm.cpp, ...); this header is what the
// main window needs of them.
#include <QDialog>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "core/analysis/Inconsistency.h"
#include "core/analysis/Volume.h"
#include "core/problem/NewProblem.h"
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace vesk::gui {

class GridModel;
class GridView;

// "New Problem": the three count fields (EditAlt, EditCrit, EditCat).
class TNewFileForm : public QDialog {
  Q_OBJECT
 public:
  TNewFileForm(core::UserDialogs& dialogs, QWidget* parent = nullptr);
  // Shows the dialog modally; the fields as typed on OK, nothing otherwise.
  std::optional<core::NewProblemFields> Run();

  // The fields as they stand.
  core::NewProblemFields Fields() const;

  // OK: every field is checked first; a bad one keeps the dialog open.
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildFields();
  void BuildButtons();
  int MaximumOf(const QLineEdit* field) const;
  // The check made when a field is left; false (after its message, with the
  // focus back in the field) when the text is not accepted.
  bool CheckField(QLineEdit* field);

  core::UserDialogs& dialogs_;
  QLineEdit* EditAlt = nullptr;
  QLineEdit* EditCrit = nullptr;
  QLineEdit* EditCat = nullptr;
  QPushButton* OKButton = nullptr;
  QPushButton* CancelButton = nullptr;
  bool checking_ = false;
};

// The cell-size controls of the main window, which the inconsistency window
// takes over when it is activated.
struct CellSizes {
  int rowHeight = 16, columnWidth = 48, fontSize = 8;
};

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

// "Vesk - Volume Computation".
class TVolumeForm : public QDialog {
  Q_OBJECT
 public:
  TVolumeForm(const core::Problem& problem, const core::SortingState& state, core::VolumeWindow& window,
              core::UserDialogs& dialogs, QWidget* parent = nullptr);
  // Shows the window modally (after the main window's command opened it).
  void ShowModal();

  // "&Start simulation". The generator starts from the clock unless a seed
  // was set for reproducible runs.
  void StartSimulationClick();
  void SetSeed(std::optional<std::uint32_t> seed) { seed_ = seed; }

  // Labels, precision and progress bar from the window's state.
  void ShowState();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLabels();
  void BuildControls();

  const core::Problem& problem_;
  const core::SortingState& state_;
  core::VolumeWindow& window_;
  core::UserDialogs& dialogs_;
  std::optional<std::uint32_t> seed_;
  QLabel* DimensionValue = nullptr;
  QLabel* AbsoluteValue = nullptr;
  QLabel* RelativeValue = nullptr;
  QSpinBox* PrecisionUpDown = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QPushButton* StartButton = nullptr;
  QPushButton* ExitButton = nullptr;
  QPushButton* CancelButton = nullptr;  // shown while a simulation runs
};

// "About".
class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
};

// "How to get help": four lines and the manual's folder.
class TGetHelpForm : public QDialog {
  Q_OBJECT
 public:
  TGetHelpForm(const QString& manualFolder, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
};

// The engine's chart window: created hidden at start-up, never shown.
class Ttfernform : public QWidget {
  Q_OBJECT
 public:
  explicit Ttfernform(QWidget* parent = nullptr);
};

}  // namespace vesk::gui
