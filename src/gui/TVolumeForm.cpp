// "Vesk - Volume Computation": the dimension and the two volumes of the last
// simulation, its precision, and the progress of a running one.
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/CancelGate.h"
#include "gui/FormDialogs.h"
#include "gui/TVolumeForm.h"

namespace vesk::gui {

TVolumeForm::TVolumeForm(const core::Problem& problem, const core::SortingState& state, core::VolumeWindow& window,
                         core::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), problem_(problem), state_(state), window_(window), dialogs_(dialogs) {
  setObjectName("TVolumeForm");
  setWindowTitle("Vesk - Volume Computation");
  new QVBoxLayout(this);
  BuildLabels();
  BuildControls();
  ShowState();
}

void TVolumeForm::BuildLabels() {
  auto* grid = new QGridLayout;
  QFont bold = font();
  bold.setBold(true);
  auto add = [&](int row, const char* caption, const char* name) {
    grid->addWidget(new QLabel(caption, this), row, 0);
    auto* value = new QLabel("0", this);
    value->setObjectName(name);
    value->setFont(bold);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(value, row, 1);
    return value;
  };
  DimensionValue = add(0, "Dimension:", "DimensionValue");
  AbsoluteValue = add(1, "Absolute Volume:", "AbsoluteValue");
  RelativeValue = add(2, "Volume to bounds:", "RelativeValue");
  grid->setColumnStretch(1, 1);
  static_cast<QVBoxLayout*>(layout())->addLayout(grid);
}

void TVolumeForm::BuildControls() {
  auto* precision = new QHBoxLayout;
  auto* label = new QLabel("Precision:", this);
  PrecisionUpDown = new QSpinBox(this);
  PrecisionUpDown->setObjectName("PrecisionUpDown");
  PrecisionUpDown->setRange(core::kVolumeMinPrecision, core::kVolumeMaxPrecision);
  PrecisionUpDown->setValue(window_.Precision);
  if (auto* edit = PrecisionUpDown->findChild<QLineEdit*>()) edit->setReadOnly(true);
  label->setBuddy(PrecisionUpDown);
  connect(PrecisionUpDown, &QSpinBox::valueChanged, this, [this](int p) { window_.SetPrecision(p); });
  precision->addWidget(label);
  precision->addWidget(PrecisionUpDown);
  precision->addStretch();
  static_cast<QVBoxLayout*>(layout())->addLayout(precision);

  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName("ProgressBar");
  ProgressBar->setRange(0, static_cast<int>(core::kVolumeMaxSamples));
  ProgressBar->setTextVisible(false);
  layout()->addWidget(ProgressBar);

  auto* buttons = new QHBoxLayout;
  StartButton = new QPushButton("&Start simulation", this);
  StartButton->setObjectName("StartButton");
  StartButton->setDefault(true);
  connect(StartButton, &QPushButton::clicked, this, &TVolumeForm::StartSimulationClick);
  ExitButton = new QPushButton("&Exit", this);
  ExitButton->setObjectName("ExitButton");
  connect(ExitButton, &QPushButton::clicked, this, &TVolumeForm::reject);
  buttons->addStretch();
  buttons->addWidget(StartButton);
  buttons->addWidget(ExitButton);
  CancelButton = new QPushButton("Cancel", this);
  CancelButton->setObjectName("CancelButton");
  CancelButton->setToolTip("Stop the simulation (Esc)");
  CancelButton->hide();
  buttons->addWidget(CancelButton);
  static_cast<QVBoxLayout*>(layout())->addLayout(buttons);
}

void TVolumeForm::ShowState() {
  DimensionValue->setText(QString::fromStdString(window_.DimensionText));
  AbsoluteValue->setText(QString::fromStdString(window_.AbsoluteText));
  RelativeValue->setText(QString::fromStdString(window_.RelativeText));
  if (PrecisionUpDown->value() != window_.Precision) PrecisionUpDown->setValue(window_.Precision);
  ProgressBar->setValue(static_cast<int>(window_.ProgressPosition));
}

void TVolumeForm::showEvent(QShowEvent* event) {
  window_.ProgressPosition = 0;
  ShowState();
  QDialog::showEvent(event);
}

void TVolumeForm::ShowModal() { exec(); }

void TVolumeForm::StartSimulationClick() {
  // At every checkpoint the labels and the bar show the run's state and the
  // window repaints; the person's input waits, so no second run can start,
  // all but the Cancel button and Esc, which the gate lets through.
  FormDialogs dialogs(dialogs_, [this](int) {
    ShowState();
    repaint();
  });
  StartButton->setEnabled(false);
  ExitButton->setEnabled(false);
  {
    CancelGate gate(CancelButton);
    core::StartSimulationClick(problem_, state_, window_, dialogs, seed_);
  }
  StartButton->setEnabled(true);
  ExitButton->setEnabled(true);
  ShowState();
}

}  // namespace vesk::gui
