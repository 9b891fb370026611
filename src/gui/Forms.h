#pragma once
// The windows the main window opens besides itself. Each is one form with
// its own file (TNewFileForm.cpp, TIAForm.cpp, ...); this header is what the
// main window needs of them.
#include <QDialog>
#include <QString>
#include <QWidget>
#include <optional>

#include "core/analysis/Inconsistency.h"
#include "core/analysis/Volume.h"
#include "core/problem/NewProblem.h"
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"

namespace vesk::gui {

class GridView;

// "New Problem": the three count fields (EditAlt, EditCrit, EditCat).
class TNewFileForm : public QDialog {
  Q_OBJECT
 public:
  TNewFileForm(core::UserDialogs& dialogs, QWidget* parent = nullptr);
  // Shows the dialog modally; the fields as typed on OK, nothing otherwise.
  std::optional<core::NewProblemFields> Run();

 private:
  core::UserDialogs& dialogs_;
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

 private:
  const core::Problem& problem_;
  const core::SortingState& state_;
  core::InconsistencyAnalysis& analysis_;
  core::UserDialogs& dialogs_;
};

// "Vesk - Volume Computation".
class TVolumeForm : public QDialog {
  Q_OBJECT
 public:
  TVolumeForm(const core::Problem& problem, const core::SortingState& state, core::VolumeWindow& window,
              core::UserDialogs& dialogs, QWidget* parent = nullptr);
  // Shows the window modally (after the main window's command opened it).
  void ShowModal();

 private:
  const core::Problem& problem_;
  const core::SortingState& state_;
  core::VolumeWindow& window_;
  core::UserDialogs& dialogs_;
};

// "About".
class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

// "How to get help": four lines and the manual's folder.
class TGetHelpForm : public QDialog {
  Q_OBJECT
 public:
  TGetHelpForm(const QString& manualFolder, QWidget* parent = nullptr);
};

// The engine's chart window: created hidden at start-up, never shown.
class Ttfernform : public QWidget {
  Q_OBJECT
 public:
  explicit Ttfernform(QWidget* parent = nullptr);
};

}  // namespace vesk::gui
