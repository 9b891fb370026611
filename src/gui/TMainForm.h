#pragma once
// The main window: toolbar with the cell-size controls, the input page
// control on the left, the output page control on the right, menus, context
// menus and the status line. Every command is core's; the window forwards
// the person's action, then shows what changed.
#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "core/analysis/Inconsistency.h"
#include "core/analysis/Volume.h"
#include "core/problem/EditHistory.h"
#include "core/problem/Problem.h"
#include "core/problem/StructuralEdits.h"
#include "core/sorting/Report.h"
#include "core/sorting/SortingState.h"
#include "gui/CellSizes.h"
#include "gui/QtDialogs.h"
#include "gui/QtEngineHost.h"
#include "gui/RecentFiles.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPrinter;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QAbstractButton;

namespace vesk::gui {

class GridView;
class InputGrids;
class ResultGrids;
class TIAForm;
class TNewFileForm;
class TVolumeForm;
class Ttfernform;

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  core::Problem& problem() { return problem_; }
  core::SortingState& state() { return state_; }
  core::InconsistencyAnalysis& analysis() { return analysis_; }
  core::VolumeWindow& volumeWindow() { return volume_; }
  const core::EditHistory& history() const { return history_; }
  QtDialogs& dialogs() { return dialogs_; }
  InputGrids* inputGrids() const { return inputs_; }
  ResultGrids* resultGrids() const { return results_; }
  CellSizes cellSizes() const;

  // Reads `path` (a file named on the command line); true when it was read.
  bool OpenFile(const QString& path);
  // The about box, modally (start-up and "&About...").
  void ShowAboutBox();

  // Menu and toolbar handlers. Each returns once the command and the
  // window's update are done.
  void NewItemClick();
  void OpenItemClick();
  void ReportItemClick();
  void ImportPerformancesItemClick();
  void ExportResultsItemClick();
  void ExportPictureItemClick();
  void SaveDataItemClick();
  void SaveDataAsItemClick();
  void PrintFormItemClick();
  void PrintSetupItemClick();
  void ExitItemClick();
  // A problem of the recent files, opened as Open does; a file that has gone
  // is taken out of the list.
  void RecentFileItemClick(const QString& path);
  void UndoItemClick();
  void RedoItemClick();
  void StructuralItemClick(core::StructuralCommand command);
  void VolumeComputationItemClick();
  bool CalcRangeItemClick();
  void InputOrderItemClick();
  void VariabilityOrderItemClick();
  void InconsistencyItemClick();
  void OnlineManualItemClick();
  void HowToUseHelpItemClick();
  void AboutItemClick();
  // F1: the help page of the grid that has the focus, else the manual's
  // contents.
  void ContextHelpClick();
  // Ctrl+Tab, Ctrl+PgDn (step 1) and Ctrl+Shift+Tab, Ctrl+PgUp (step -1):
  // the next or previous tab of the page control that has the focus (the
  // input page control when neither has it); the grid of the new tab takes
  // the focus.
  void SwitchTabClick(int step);

  // Shows the problem and the results as they now stand: caption, tables,
  // output tabs, labels, toggles, report button and menu enabling.
  void UpdateWindow();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // The window builds itself in these steps, in this order.
  void CreateSpeedBar();
  void CreatePageControls();
  void CreateStatusLine();
  void CreateActions();
  void SetupMenuBar();
  void SetupContextMenus();
  void CreateForms();

  QWidget* CreateFixedParPage();
  QWidget* CreateResultsPage();
  QWidget* CreateIndicesPage();

  QAction* MakeAction(const QString& name, const QString& text, const QString& hint,
                      const std::function<void()>& handler);
  QAction* StructuralAction(const QString& name, const QString& text, const QString& hint,
                            core::StructuralCommand command);
  void AttachContextMenu(GridView* grid, const QString& name, const std::function<void(QMenu*)>& fill,
                         const QString& helpPage);

  // Runs one command: a ProgramError or conversion error ends it with its
  // message; the cursor and the progress panel are restored and the grids
  // and the window are brought up to date.
  bool RunCommand(const std::function<bool()>& body);
  void UpdateMenus();
  void ApplyCellSizes();
  void UsevjButtonClick(bool down);
  void UseujButtonClick(bool down);
  void InputChanged();
  // An edit in the input grids ended: it becomes an undoable step.
  void EditFinished();
  // Clears the history when `opened` (a New or Open that went through); returns it.
  bool ForgetHistoryIf(bool opened);
  // Puts the problem's file at the front of the recent files when `done`
  // (an open or save that went through); returns it.
  bool RememberFileIf(bool done);
  // Shows the recent files as they are stored, before "E&xit".
  void UpdateRecentFilesMenu();
  // The results on show belong to the problem as it stands.
  bool ResultsCurrent() const;
  // The number a delete command offers: the action, criterion or constraint
  // of the current cell of the grid the person works in; 0 for none.
  int OfferedForDelete(core::StructuralCommand command) const;
  // The input grid that has the focus, else the one of the input tab shown.
  GridView* InputGridInUse() const;

  core::Problem problem_;
  core::SortingState state_;
  core::InconsistencyAnalysis analysis_;
  core::VolumeWindow volume_;
  core::ReportSettings report_;
  core::EditHistory history_;
  RecentFiles recent_;
  QtDialogs dialogs_;
  QtEngineHost host_;
  bool commandRunning_ = false;
  // After the command that runs: a new problem (columns fit afresh, AGrid
  // takes the focus) and new results (their columns fit afresh).
  bool freshProblem_ = false;
  bool freshResults_ = false;
  std::map<const QWidget*, QString> helpPages_;  // grid -> its help page

  InputGrids* inputs_ = nullptr;
  ResultGrids* results_ = nullptr;

  TNewFileForm* newForm_ = nullptr;
  TIAForm* iaForm_ = nullptr;
  TVolumeForm* volumeForm_ = nullptr;
  Ttfernform* tfernform_ = nullptr;

  QWidget* speedBar_ = nullptr;
  QWidget* calcPanel_ = nullptr;
  QProgressBar* calcProgressBar_ = nullptr;
  QPushButton* calcCancelButton_ = nullptr;
  QAbstractButton* speedButtonSave_ = nullptr;
  QAbstractButton* speedButtonReport_ = nullptr;
  QAbstractButton* speedButtonCalc_ = nullptr;
  QSpinBox* heightUpDown_ = nullptr;
  QSpinBox* widthUpDown_ = nullptr;
  QSpinBox* fontUpDown_ = nullptr;
  QTabWidget* pageControlIn_ = nullptr;
  QTabWidget* pageControlOut_ = nullptr;
  QAbstractButton* usevjButton_ = nullptr;
  QAbstractButton* useujButton_ = nullptr;
  QLabel* indexLabel_ = nullptr;
  QLabel* variationLabel_ = nullptr;
  QLabel* statusPanel_ = nullptr;
  int inferredConstraintsTab_ = -1;
  int indicesTab_ = -1;

  struct MenuRule {
    QAction* action;
    std::function<bool()> enabled;
  };
  std::vector<MenuRule> rules_;
  QAction* inputOrderItem_ = nullptr;
  QAction* variabilityOrderItem_ = nullptr;
  QAction* inconsistencyItem_ = nullptr;
  std::array<QAction*, RecentFiles::kMaxFiles> recentItems_{};
  QAction* recentSeparator_ = nullptr;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace vesk::gui
