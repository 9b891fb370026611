#pragma once
#include <QDialog>
#include <QString>

namespace vesk::gui {

// "How to get help": four lines and the manual's folder.
class TGetHelpForm : public QDialog {
  Q_OBJECT
 public:
  TGetHelpForm(const QString& manualFolder, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace vesk::gui
