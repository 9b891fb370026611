#include "gui/GridEditing.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vesk::gui {

namespace keys = core::keys;

std::optional<char32_t> FilterKeyCode(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return keys::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return keys::Enter;
    case Qt::Key_Escape: return keys::Escape;
    case Qt::Key_Left: return keys::Left;
    case Qt::Key_Right: return keys::Right;
    case Qt::Key_Up: return keys::Up;
    case Qt::Key_Down: return keys::Down;
    case Qt::Key_Home: return keys::Home;
    case Qt::Key_End: return keys::End;
    case Qt::Key_PageUp: return keys::PageUp;
    case Qt::Key_PageDown: return keys::PageDown;
    case Qt::Key_Backspace: return keys::Backspace;
    case Qt::Key_Delete: return keys::Delete;
    default: break;
  }
  for (QKeySequence::StandardKey edit :
       {QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo, QKeySequence::DeleteEndOfLine,
        QKeySequence::DeleteEndOfWord, QKeySequence::DeleteStartOfWord, QKeySequence::DeleteCompleteLine})
    if (event.matches(edit)) return keys::Delete;
  const QString text = event.text();
  if (!text.isEmpty() && text.at(0).isPrint()) return static_cast<char32_t>(text.toUcs4().value(0));
  return std::nullopt;
}

FilteredLineEdit::FilteredLineEdit(int row, int column, const KeyFilters& filters, QWidget* parent)
    : QLineEdit(parent), row_(row), column_(column), filters_(filters) {
  setFrame(false);
  // Text reaches the cell only through the filters: no drops, no input
  // method, and no context menu of its own (the table's shows instead).
  setAcceptDrops(false);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setContextMenuPolicy(Qt::NoContextMenu);
}

void FilteredLineEdit::PasteFiltered(const QString& text) {
  if (text.isEmpty() || !filters_.paste) return;
  insert(QString::fromStdString(filters_.paste(row_, column_, text.toStdString())));
}

bool FilteredLineEdit::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride) {
    // Undo and redo stay within the cell while the editor has typing of its
    // own to take back; otherwise the shortcut goes to the window's history.
    auto* key = static_cast<QKeyEvent*>(e);
    const bool undo = key->matches(QKeySequence::Undo) && !isUndoAvailable();
    const bool redo = (key->matches(QKeySequence::Redo) || key->keyCombination() == (Qt::CTRL | Qt::Key_Y)) &&
                      !isRedoAvailable();
    if (undo || redo) {
      e->ignore();
      return true;
    }
  }
  return QLineEdit::event(e);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    PasteFiltered(QApplication::clipboard()->text());
    event->accept();
    return;
  }
  const QString text = event->text();
  if (text.size() > 1 && text.at(0).isPrint()) {  // several characters at once: as pasted
    PasteFiltered(text);
    event->accept();
    return;
  }
  const std::optional<char32_t> code = FilterKeyCode(*event);
  if (code && filters_.key && !filters_.key(row_, column_, *code)) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void FilteredLineEdit::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {  // the selection paste of X11
    if (QApplication::clipboard()->supportsSelection())
      PasteFiltered(QApplication::clipboard()->text(QClipboard::Selection));
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

QWidget* GridEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
  auto* editor = new FilteredLineEdit(index.row(), index.column(), filters, parent);
  editor->setFont(parent->font());
  // The cell holds what the editor shows at every moment, so that nothing
  // typed is lost when a command reads or saves the tables meanwhile.
  auto* self = const_cast<GridEditDelegate*>(this);
  connect(editor, &QLineEdit::textEdited, self, [self, editor] { emit self->commitData(editor); });
  return editor;
}

void GridEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* line = static_cast<QLineEdit*>(editor);
  const QString text = index.data(Qt::EditRole).toString();
  if (line->text() != text) line->setText(text);  // keeps the caret while the cell follows the editor
}

void GridEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
  model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
}

}  // namespace vesk::gui
