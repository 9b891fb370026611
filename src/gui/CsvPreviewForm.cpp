#include "gui/CsvPreviewForm.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vesk::gui {

CsvPreviewForm::CsvPreviewForm(const core::CsvPerformances& data, bool currentPossible, QWidget* parent)
    : QDialog(parent) {
  setObjectName("CsvPreviewForm");
  setWindowTitle("Import performances");
  auto* layout = new QVBoxLayout(this);

  QString sizeText = QString("%1 criteria, %2 actions").arg(data.NumCriteria()).arg(data.NumActions());
  if (data.NumActions() > kPreviewRows) sizeText += QString(" (the first %1 shown)").arg(kPreviewRows);
  auto* size = new QLabel(sizeText, this);
  size->setObjectName("CsvSizeLabel");
  layout->addWidget(size);

  table_ = new QTableWidget(this);
  table_->setObjectName("CsvPreviewTable");
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FillTable(data);
  layout->addWidget(table_);

  newButton_ = new QRadioButton("Into a &new problem", this);
  newButton_->setObjectName("CsvNewProblemButton");
  currentButton_ = new QRadioButton("Into the &current problem (examples and parameters are kept)", this);
  currentButton_->setObjectName("CsvCurrentProblemButton");
  layout->addWidget(newButton_);
  layout->addWidget(currentButton_);
  // Only a choice while the file fits the current problem.
  newButton_->setVisible(currentPossible);
  currentButton_->setVisible(currentPossible);
  (currentPossible ? currentButton_ : newButton_)->setChecked(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName("CsvButtons");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(560, 360);
}

void CsvPreviewForm::FillTable(const core::CsvPerformances& data) {
  const int rows = std::min(data.NumActions(), kPreviewRows);
  table_->setRowCount(rows);
  table_->setColumnCount(1 + data.NumCriteria());
  QStringList header{"Action"};
  for (const auto& name : data.criterionNames) header << QString::fromStdString(name);
  table_->setHorizontalHeaderLabels(header);
  for (int i = 0; i < rows; ++i) {
    const auto a = static_cast<std::size_t>(i);
    table_->setItem(i, 0, new QTableWidgetItem(QString::fromStdString(data.actionNames[a])));
    for (int j = 0; j < data.NumCriteria(); ++j)
      table_->setItem(i, 1 + j, new QTableWidgetItem(QString::fromStdString(data.values[a][static_cast<std::size_t>(j)])));
  }
  table_->resizeColumnsToContents();
}

core::CsvTarget CsvPreviewForm::Target() const {
  return currentButton_->isChecked() ? core::CsvTarget::CurrentProblem : core::CsvTarget::NewProblem;
}

std::optional<core::CsvTarget> CsvPreviewForm::Run(const core::CsvPerformances& data, bool currentPossible,
                                                   QWidget* parent) {
  CsvPreviewForm form(data, currentPossible, parent);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.Target();
}

}  // namespace vesk::gui
