// The main window's commands: each forwards to core, then the window shows
// what changed.
#include <QAbstractButton>
#include <QApplication>
#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <array>
#include <new>

#include "core/problem/CsvPerformances.h"
#include "core/problem/Errors.h"
#include "core/problem/NewProblem.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/Toggles.h"
#include "core/sorting/CsvResults.h"
#include "core/sorting/Report.h"
#include "core/sorting/ResultView.h"
#include "core/sorting/RobustAssignments.h"
#include "gui/CsvPreviewForm.h"
#include "gui/HelpPages.h"
#include "gui/InputGrids.h"
#include "gui/ResultGrids.h"
#include "gui/TAboutBox.h"
#include "gui/TGetHelpForm.h"
#include "gui/TIAForm.h"
#include "gui/TMainForm.h"
#include "gui/TNewFileForm.h"
#include "gui/TVolumeForm.h"
#include "picture/RangesPicture.h"

namespace vesk::gui {

namespace {

// Shown when a command runs out of memory.
constexpr const char* kOutOfMemory = "Out of memory: Try closing other applications";

}  // namespace

bool TMainForm::ResultsCurrent() const {
  return problem_.ResultsAvailable && state_.Generation == problem_.ResultsGeneration;
}

CellSizes TMainForm::cellSizes() const {
  return {heightUpDown_->value(), widthUpDown_->value(), fontUpDown_->value()};
}

bool TMainForm::RunCommand(const std::function<bool()>& body) {
  // Computations let the window repaint meanwhile, with the person's input
  // held back; a command never starts inside another one.
  if (commandRunning_) return false;
  commandRunning_ = true;
  // What was typed before the command is a step of its own; what the command
  // changes is the next one.
  history_.Record(problem_);
  bool done = false;
  try {
    done = body();
  } catch (const core::ProgramError& e) {
    dialogs_.Error(std::string(e.what()) + " (unit " + e.Unit() + ")");
  } catch (const core::ConversionError& e) {
    dialogs_.Error(e.what());
  } catch (const std::bad_alloc&) {
    dialogs_.Error(kOutOfMemory);
  }
  dialogs_.SetBusy(false);
  dialogs_.ShowProgress(false);
  history_.Record(problem_);
  commandRunning_ = false;
  inputs_->Reload();
  results_->Reload();
  if (freshProblem_) {
    inputs_->FitColumnsAfresh();
    results_->FitColumnsAfresh();
  } else if (freshResults_) {
    results_->FitColumnsAfresh();
  }
  UpdateWindow();
  if (freshProblem_) {
    pageControlIn_->setCurrentIndex(0);
    inputs_->FocusFirstPerformance();
  }
  freshProblem_ = freshResults_ = false;
  return done;
}

void TMainForm::UpdateMenus() {
  for (const MenuRule& rule : rules_) rule.action->setEnabled(rule.enabled());
  inputOrderItem_->setChecked(!state_.ShowVariabilityOrder);
  variabilityOrderItem_->setChecked(state_.ShowVariabilityOrder);
}

void TMainForm::UpdateWindow() {
  setWindowTitle(QString::fromStdString(problem_.Caption));
  pageControlIn_->setVisible(problem_.TablesShown);

  const bool current = ResultsCurrent();
  pageControlOut_->setVisible(current && state_.OutputShown);
  pageControlOut_->setTabVisible(inferredConstraintsTab_, state_.InferredConstraintsTabShown);
  pageControlOut_->setTabVisible(indicesTab_, state_.IndicesTabShown);
  // Red tabs: what the output shows no longer belongs to the problem.
  const QColor tabText = current ? QColor(Qt::black) : QColor(Qt::red);
  for (int i = 0; i < pageControlOut_->count(); ++i) pageControlOut_->tabBar()->setTabTextColor(i, tabText);
  results_->RGrid->setVisible(!state_.ShowVariabilityOrder);
  results_->ORGrid->setVisible(state_.ShowVariabilityOrder);
  indexLabel_->setText(QString::fromStdString(state_.IndexText));
  variationLabel_->setText(QString::fromStdString(state_.VariationText));

  usevjButton_->setChecked(problem_.UsevjDown);
  useujButton_->setChecked(problem_.UseujDown);
  useujButton_->setEnabled(core::UseujEnabled(problem_));

  speedButtonReport_->setEnabled(current);
  speedButtonCalc_->setEnabled(problem_.TablesShown);
  speedButtonSave_->setEnabled(problem_.TablesShown);
  UpdateMenus();
}

void TMainForm::InputChanged() {
  // A key, a rename or an example changed the problem: the outputs no longer
  // belong to it. The input grids keep their editor; only the output grids
  // are rebuilt.
  results_->Reload();
  UpdateWindow();
}

void TMainForm::EditFinished() {
  // Inside a command the command itself records what it changed.
  if (commandRunning_) return;
  history_.Record(problem_);
  UpdateMenus();
}

void TMainForm::ApplyCellSizes() {
  const CellSizes s = cellSizes();
  inputs_->SetCellSizes(s.rowHeight, s.columnWidth, s.fontSize);
  results_->SetCellSizes(s.rowHeight, s.columnWidth, s.fontSize);
}

void TMainForm::UsevjButtonClick(bool down) {
  RunCommand([&] { return core::SetUsevj(problem_, down); });
}

void TMainForm::UseujButtonClick(bool down) {
  RunCommand([&] { return core::SetUseuj(problem_, down); });
}

bool TMainForm::event(QEvent* e) {
  if (e->type() == QEvent::StatusTip) {
    statusPanel_->setText(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  return QMainWindow::event(e);
}

void TMainForm::closeEvent(QCloseEvent* e) {
  if (problem_.DataModified && !dialogs_.Unattended()) {
    QMessageBox box(QMessageBox::Question, "Confirm", "Save current files?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Yes);
    const int answer = box.exec();
    // Closing never loses the problem: a cancelled or failed save keeps the window.
    if (answer == QMessageBox::Cancel || (answer == QMessageBox::Yes && !RememberFileIf(RunCommand([&] {
                                            return core::SaveData(problem_, dialogs_);
                                          })))) {
      e->ignore();
      return;
    }
  }
  e->accept();
}

bool TMainForm::ForgetHistoryIf(bool opened) {
  // A problem opened or created starts a history of its own.
  if (opened) history_.Reset(problem_);
  freshProblem_ = freshProblem_ || opened;
  return opened;
}

bool TMainForm::RememberFileIf(bool done) {
  if (done && !problem_.OpenFileName.empty()) {
    recent_.Add(QString::fromStdString(problem_.OpenFileName));
    UpdateRecentFilesMenu();
  }
  return done;
}

void TMainForm::UpdateRecentFilesMenu() {
  const QStringList files = recent_.Files();
  for (int i = 0; i < RecentFiles::kMaxFiles; ++i) {
    QAction* item = recentItems_[i];
    const bool shown = i < files.size();
    const QString path = shown ? files[i] : QString();
    // An "&" of the path is shown as itself, not as a shortcut mark.
    item->setText(shown ? QString("&%1 %2").arg(i + 1).arg(QString(path).replace("&", "&&")) : QString());
    item->setStatusTip(shown ? "Open " + path : QString());
    item->setData(path);
    item->setVisible(shown);
    item->setEnabled(shown);
  }
  recentSeparator_->setVisible(!files.isEmpty());
}

bool TMainForm::OpenFile(const QString& path) {
  return RememberFileIf(
      RunCommand([&] { return ForgetHistoryIf(core::ReadProblemFile(problem_, dialogs_, path.toStdString())); }));
}

void TMainForm::ShowAboutBox() {
  TAboutBox box(this);
  box.exec();
}

void TMainForm::NewItemClick() {
  RunCommand([&] {
    return ForgetHistoryIf(core::NewCommand(problem_, dialogs_, [&] { return newForm_->Run(); }));
  });
}

void TMainForm::OpenItemClick() {
  RememberFileIf(RunCommand([&] { return ForgetHistoryIf(core::OpenProblem(problem_, dialogs_)); }));
}

void TMainForm::RecentFileItemClick(const QString& path) {
  if (path.isEmpty()) return;
  auto result = core::OpenResult::NotOpened;
  RunCommand([&] {
    result = core::OpenProblemFile(problem_, dialogs_, path.toStdString());
    return ForgetHistoryIf(result == core::OpenResult::Opened);
  });
  if (result == core::OpenResult::NotFound) {
    recent_.Remove(path);
    UpdateRecentFilesMenu();
  }
  RememberFileIf(result == core::OpenResult::Opened);
}

void TMainForm::ReportItemClick() {
  RunCommand([&] { return core::ReportItemClick(problem_, state_, report_, dialogs_); });
}

void TMainForm::ImportPerformancesItemClick() {
  RunCommand([&] {
    freshProblem_ =
        core::ImportPerformancesItemClick(problem_, dialogs_, [this](const core::CsvPerformances& data, bool current) {
          return CsvPreviewForm::Run(data, current, this);
        });
    return freshProblem_;
  });
}

void TMainForm::ExportResultsItemClick() {
  RunCommand([&] { return core::ExportResultsItemClick(problem_, state_, dialogs_); });
}

void TMainForm::ExportPictureItemClick() {
  RunCommand([&] {
    if (!ResultsCurrent()) return false;
    auto chosen = dialogs_.ChooseSaveFile("PNG picture (*.png)|*.png|SVG picture (*.svg)|*.svg", "png",
                                          core::WithoutExtension(problem_.SaveFileName));
    if (!chosen) return false;
    if (!picture::PictureFormatFor(*chosen)) {
      dialogs_.Error("A picture is saved as a .png or .svg file");
      return false;
    }
    if (!picture::RangesPicture(problem_, state_).Write(*chosen)) {
      dialogs_.Error(core::kDiskWriteError);
      return false;
    }
    return true;
  });
}

void TMainForm::SaveDataItemClick() {
  RememberFileIf(RunCommand([&] { return problem_.TablesShown && core::SaveData(problem_, dialogs_); }));
}

void TMainForm::SaveDataAsItemClick() {
  RememberFileIf(RunCommand([&] { return problem_.TablesShown && core::WriteProblemFile(problem_, dialogs_, true); }));
}

void TMainForm::PrintFormItemClick() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  // The window as it stands, before the print dialog covers it.
  const QImage image = grab().toImage();
  QPrintDialog dialog(printer_.get(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  QPainter painter;
  if (!painter.begin(printer_.get())) {
    dialogs_.Error("The printer could not be started");
    return;
  }
  const QRect page = painter.viewport();
  QSize size = image.size();
  size.scale(page.size(), Qt::KeepAspectRatio);
  painter.drawImage(QRect(page.topLeft(), size), image);
  painter.end();
}

void TMainForm::PrintSetupItemClick() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  // Without a printer of the system the page setup has nothing to set up.
  if (printer_->outputFormat() != QPrinter::NativeFormat) {
    dialogs_.Information("No printer is installed on this system");
    return;
  }
  QPageSetupDialog dialog(printer_.get(), this);
  dialog.exec();
}

void TMainForm::ExitItemClick() { close(); }

void TMainForm::UndoItemClick() {
  RunCommand([&] { return history_.Undo(problem_); });
}

void TMainForm::RedoItemClick() {
  RunCommand([&] { return history_.Redo(problem_); });
}

void TMainForm::StructuralItemClick(core::StructuralCommand command) {
  using core::StructuralCommand;
  const int offered = OfferedForDelete(command);
  RunCommand([&] {
    // The context menus share the menu bar's rules.
    if (!core::StructuralCommandEnabled(problem_, command)) return false;
    switch (command) {
      case StructuralCommand::SplitCategory: return core::SplitCategory(problem_, dialogs_);
      case StructuralCommand::MergeCategories: return core::MergeCategories(problem_, dialogs_);
      case StructuralCommand::InsertCriterion: return core::InsertCriterion(problem_, dialogs_);
      case StructuralCommand::DeleteCriterion: return core::DeleteCriterion(problem_, dialogs_, offered);
      case StructuralCommand::InsertAction: return core::InsertAction(problem_, dialogs_);
      case StructuralCommand::DeleteAction: return core::DeleteAction(problem_, dialogs_, offered);
      case StructuralCommand::EraseExamples: return core::EraseExamples(problem_, dialogs_);
      case StructuralCommand::InsertConstraint: return core::InsertConstraint(problem_, dialogs_);
      case StructuralCommand::DeleteConstraint: return core::DeleteConstraint(problem_, dialogs_, offered);
    }
    return false;
  });
}

void TMainForm::VolumeComputationItemClick() {
  RunCommand([&] {
    if (!core::VolumeComputationItemClick(problem_, state_, volume_, dialogs_)) return false;
    // The example constraints were rebuilt for the window.
    results_->Reload();
    volumeForm_->ShowModal();
    return true;
  });
}

bool TMainForm::CalcRangeItemClick() {
  return RunCommand([&] { return freshResults_ = core::CalcRangeItemClick(problem_, state_, dialogs_); });
}

void TMainForm::InputOrderItemClick() {
  RunCommand([&] {
    core::ShowByInputOrder(state_);
    return true;
  });
}

void TMainForm::VariabilityOrderItemClick() {
  RunCommand([&] {
    core::ShowByVariabilityOrder(state_);
    return state_.ShowVariabilityOrder;
  });
}

void TMainForm::InconsistencyItemClick() {
  RunCommand([&] {
    return core::InconsistencyItemClick(problem_, state_, analysis_, dialogs_,
                                        [&] { iaForm_->ShowModalOver(this, cellSizes()); });
  });
}

void TMainForm::OnlineManualItemClick() {
  RunCommand([&] { return ShowHelpPage("Main_man.htm", dialogs_); });
}

void TMainForm::HowToUseHelpItemClick() {
  TGetHelpForm form(ManualFolder(), this);
  form.exec();
}

void TMainForm::AboutItemClick() { ShowAboutBox(); }

void TMainForm::ContextHelpClick() {
  QString page = "Main_man.htm";
  for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
    if (auto found = helpPages_.find(w); found != helpPages_.end()) {
      page = found->second;
      break;
    }
  RunCommand([&] { return ShowHelpPage(page, dialogs_); });
}

void TMainForm::SwitchTabClick(int step) {
  QWidget* focus = QApplication::focusWidget();
  QTabWidget* pages = focus && pageControlOut_->isAncestorOf(focus) ? pageControlOut_ : pageControlIn_;
  if (!pages->isVisible() || pages->count() == 0) return;
  int i = pages->currentIndex();
  for (int tried = 0; tried < pages->count(); ++tried) {
    i = (i + step + pages->count()) % pages->count();
    if (pages->isTabVisible(i) && pages->isTabEnabled(i)) break;
  }
  pages->setCurrentIndex(i);
  QWidget* page = pages->currentWidget();
  auto* grid = qobject_cast<GridView*>(page);
  if (!grid)
    for (GridView* candidate : page->findChildren<GridView*>())
      if (candidate->isVisible()) {
        grid = candidate;
        break;
      }
  if (grid) grid->setFocus(Qt::TabFocusReason);
  else page->setFocus(Qt::TabFocusReason);
}

GridView* TMainForm::InputGridInUse() const {
  const std::array<GridView*, 4> grids = {inputs_->AGrid, inputs_->FGrid, inputs_->BGrid, inputs_->CGrid};
  if (QWidget* focus = QApplication::focusWidget())
    for (GridView* grid : grids)
      if (focus == grid || grid->isAncestorOf(focus)) return grid;
  QWidget* page = pageControlIn_->currentWidget();
  for (GridView* grid : grids)
    if (page && (page == grid || page->isAncestorOf(grid))) return grid;
  return inputs_->AGrid;
}

int TMainForm::OfferedForDelete(core::StructuralCommand command) const {
  using core::InputTable;
  using core::StructuralCommand;
  auto current = [](const GridView* grid) { return grid->currentIndex(); };
  switch (command) {
    case StructuralCommand::DeleteAction: {
      const QModelIndex at = current(inputs_->AGrid);
      return at.isValid() && at.row() >= 1 && at.row() <= problem_.NumActions ? at.row() : 0;
    }
    case StructuralCommand::DeleteConstraint: {
      const QModelIndex at = current(inputs_->CGrid);
      return at.isValid() ? core::ConstraintOfRow(problem_, at.row()) : 0;
    }
    case StructuralCommand::DeleteCriterion: {
      const GridView* grid = InputGridInUse();
      const InputTable table = grid == inputs_->FGrid   ? InputTable::FGrid
                               : grid == inputs_->BGrid ? InputTable::BGrid
                               : grid == inputs_->CGrid ? InputTable::CGrid
                                                        : InputTable::AGrid;
      const QModelIndex at = current(grid);
      return at.isValid() ? core::CriterionOfColumn(problem_, table, at.column()) : 0;
    }
    default: return 0;
  }
}

}  // namespace vesk::gui
