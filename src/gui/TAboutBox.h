#pragma once
#include <QDialog>

namespace vesk::gui {

// "About".
class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace vesk::gui
