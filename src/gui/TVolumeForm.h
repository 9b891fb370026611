#pragma once
#include <QDialog>
#include <cstdint>
#include <optional>

#include "core/analysis/Volume.h"
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace vesk::gui {

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

}  // namespace vesk::gui
