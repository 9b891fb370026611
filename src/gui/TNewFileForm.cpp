// "New Problem": three count fields that take digits and Backspace only, each
// checked when it is left. Cancel (or Escape) always closes the dialog, even
// while a field holds a text the check refuses.
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/TNewFileForm.h"
#include "gui/ScreenCentre.h"

namespace vesk::gui {

TNewFileForm::TNewFileForm(core::UserDialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
  setObjectName("TNewFileForm");
  setWindowTitle("New Problem");
  // A fixed dialog border without the system buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  BuildFields();
  BuildButtons();
}

void TNewFileForm::BuildFields() {
  auto* fields = new QGridLayout;
  const core::NewProblemFields defaults;
  auto add = [&](int row, const char* label, const char* name, const std::string& text) {
    auto* edit = new QLineEdit(QString::fromStdString(text), this);
    edit->setObjectName(name);
    edit->installEventFilter(this);
    auto* caption = new QLabel(label, this);
    caption->setBuddy(edit);
    fields->addWidget(caption, row, 0);
    fields->addWidget(edit, row, 1);
    return edit;
  };
  EditAlt = add(0, "Number of alternatives", "EditAlt", defaults.alternatives);
  EditCrit = add(1, "Number of criteria", "EditCrit", defaults.criteria);
  EditCat = add(2, "Number of categories", "EditCat", defaults.categories);
  static_cast<QVBoxLayout*>(layout())->addLayout(fields);
}

void TNewFileForm::BuildButtons() {
  auto* buttons = new QHBoxLayout;
  OKButton = new QPushButton("OK", this);
  OKButton->setObjectName("OKButton");
  OKButton->setDefault(true);
  CancelButton = new QPushButton("Cancel", this);
  CancelButton->setObjectName("CancelButton");
  buttons->addStretch();
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  connect(OKButton, &QPushButton::clicked, this, &TNewFileForm::accept);
  connect(CancelButton, &QPushButton::clicked, this, &TNewFileForm::reject);
  static_cast<QVBoxLayout*>(layout())->addLayout(buttons);
}

std::optional<core::NewProblemFields> TNewFileForm::Run() {
  EditAlt->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return Fields();
}

core::NewProblemFields TNewFileForm::Fields() const {
  core::NewProblemFields f;
  f.alternatives = EditAlt->text().toStdString();
  f.criteria = EditCrit->text().toStdString();
  f.categories = EditCat->text().toStdString();
  return f;
}

int TNewFileForm::MaximumOf(const QLineEdit* field) const {
  if (field == EditAlt) return core::kMaxNewAlternatives;
  if (field == EditCrit) return core::kMaxNewCriteria;
  return core::kMaxNewCategories;
}

bool TNewFileForm::CheckField(QLineEdit* field) {
  const auto message = core::CheckNewProblemField(field->text().toStdString(), MaximumOf(field));
  if (!message) return true;
  checking_ = true;
  dialogs_.Error(*message);
  checking_ = false;
  field->setFocus();
  field->selectAll();
  return false;
}

void TNewFileForm::accept() {
  for (QLineEdit* field : {EditAlt, EditCrit, EditCat})
    if (!CheckField(field)) return;
  QDialog::accept();
}

bool TNewFileForm::eventFilter(QObject* watched, QEvent* event) {
  auto* field = qobject_cast<QLineEdit*>(watched);
  if (!field) return QDialog::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    // Typed characters other than digits and Backspace are dropped; keys
    // without text (arrows, Tab, Enter, Escape) keep their usual meaning.
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (!text.isEmpty() && (text.at(0).isPrint() || key->key() == Qt::Key_Backspace)) {
      const char32_t typed = key->key() == Qt::Key_Backspace ? U'\b' : text.toUcs4().value(0);
      if (!core::NewProblemFieldKeyAccepted(typed)) return true;
    }
  } else if (event->type() == QEvent::FocusOut && !checking_) {
    // Leaving for another control runs the check. A click on OK is checked by
    // OK itself, leaving for Cancel must not stop Cancel, and a focus lost to
    // another window (the message box itself) is no leaving at all.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    QWidget* next = QApplication::focusWidget();
    const bool leaving = next && next != field && isAncestorOf(next) && next != CancelButton &&
                         !(next == OKButton && reason == Qt::MouseFocusReason);
    if (leaving && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      // The message box is shown once the focus change is complete.
      QTimer::singleShot(0, this, [this, field] {
        if (isVisible() && !checking_) CheckField(field);
      });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TNewFileForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(this);
}

}  // namespace vesk::gui
