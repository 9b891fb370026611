#pragma once
#include <QDialog>
#include <optional>

#include "core/problem/NewProblem.h"
#include "core/problem/UserDialogs.h"

class QLineEdit;
class QPushButton;

namespace vesk::gui {

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

}  // namespace vesk::gui
