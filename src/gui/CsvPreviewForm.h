#pragma once
// The preview of "Import performances...": the first records of the file in a
// read-only table, the size read, and where the performances go when both the
// current problem and a new one can take them.
#include <QDialog>
#include <optional>

#include "core/problem/CsvPerformances.h"

class QRadioButton;
class QTableWidget;

namespace vesk::gui {

class CsvPreviewForm : public QDialog {
  Q_OBJECT
 public:
  // Records shown below the header.
  static constexpr int kPreviewRows = 10;

  CsvPreviewForm(const core::CsvPerformances& data, bool currentPossible, QWidget* parent = nullptr);

  // The chosen target after OK (read after exec()).
  core::CsvTarget Target() const;

  // Shows the preview modally; nothing on Cancel.
  static std::optional<core::CsvTarget> Run(const core::CsvPerformances& data, bool currentPossible,
                                            QWidget* parent);

 private:
  void FillTable(const core::CsvPerformances& data);

  QTableWidget* table_ = nullptr;
  QRadioButton* newButton_ = nullptr;
  QRadioButton* currentButton_ = nullptr;
};

}  // namespace vesk::gui
