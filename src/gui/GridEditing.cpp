#include "gui/GridEditing.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "core/problem/ClipboardBlock.h"

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
  if (text.isEmpty()) return;
  const std::string bytes = text.toStdString();
  if (core::IsBlockText(bytes)) {
    // Cells of a spreadsheet: the table pastes them, each into its own cell.
    if (filters_.block) filters_.block(bytes);
    return;
  }
  if (filters_.paste) insert(QString::fromStdString(filters_.paste(row_, column_, bytes)));
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

bool FilteredLineEdit::LeavesText(const QKeyEvent& event) const {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  const int key = event.key();
  if (modifiers == Qt::ControlModifier) return key == Qt::Key_Home || key == Qt::Key_End;
  // Shift with an arrow selects cells, as the arrow alone moves between them.
  if (modifiers == Qt::ShiftModifier && key != Qt::Key_Left && key != Qt::Key_Right) return false;
  if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier) return false;
  // As the in-place editor of a string grid: the caret moves within the text
  // and the key moves to the next cell once the caret is at the text's edge;
  // over a text that is wholly selected (as a cell is entered) an arrow moves
  // at once, Home and End first go to the text's edge.
  const int length = text().length();
  const bool all = hasSelectedText() && selectedText().length() == length;
  const bool atStart = !hasSelectedText() && cursorPosition() == 0;
  const bool atEnd = !hasSelectedText() && cursorPosition() == length;
  switch (key) {
    case Qt::Key_Left: return atStart || all;
    case Qt::Key_Right: return atEnd || all;
    case Qt::Key_Home: return atStart;
    case Qt::Key_End: return atEnd;
    default: return false;
  }
}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    PasteFiltered(QApplication::clipboard()->text());
    event->accept();
    return;
  }
  // Keys for the table: ignored here, they go on to it.
  if (event->matches(QKeySequence::SelectAll) || (event->matches(QKeySequence::Copy) && !hasSelectedText()) ||
      LeavesText(*event)) {
    event->ignore();
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

void FilteredLineEdit::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  // Framed as the current cell is, so that the cell being typed stands out.
  QPainter painter(this);
  painter.setPen(QPen(Qt::black, 2));
  painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
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

ChoiceEdit::ChoiceEdit(int row, int column, const KeyFilters& filters, QWidget* parent)
    : QComboBox(parent), row_(row), column_(column), filters_(filters) {
  setFrame(false);
  setEditable(false);
  if (filters_.choices)
    for (const std::string& choice : filters_.choices(row, column)) addItem(QString::fromStdString(choice));
  connect(this, &QComboBox::activated, this, &ChoiceEdit::Choose);
}

void ChoiceEdit::ShowText(const QString& text) {
  int found = -1;
  for (int i = 0; i < count() && !text.isEmpty(); ++i)
    if (itemText(i).at(0) == text.at(0)) found = i;
  if (found != currentIndex()) setCurrentIndex(found);
}

void ChoiceEdit::Choose(int index) {
  if (index < 0 || index >= count()) return;
  // A choice is as if its character was typed: the same filter decides.
  const char32_t key = itemText(index).at(0).unicode();
  if (filters_.key && !filters_.key(row_, column_, key)) return;
  setCurrentIndex(index);
  emit chosen();
}

void ChoiceEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    const QString text = QApplication::clipboard()->text();
    if (filters_.block) filters_.block(text.toStdString());
    event->accept();
    return;
  }
  const bool opens = event->key() == Qt::Key_F4 || (event->key() == Qt::Key_Down && event->modifiers() & Qt::AltModifier);
  if (opens) {
    showPopup();
    event->accept();
    return;
  }
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: event->ignore(); return;  // the table moves
    default: break;
  }
  if (event->modifiers() & Qt::ControlModifier) {
    event->ignore();
    return;
  }
  const QString text = event->text();
  if (!text.isEmpty() && text.at(0).isPrint()) {
    int match = -1;
    for (int i = 0; i < count() && match < 0; ++i)
      if (itemText(i).at(0) == text.at(0)) match = i;
    // Any other character goes to the key filter, which drops it.
    if (match >= 0) Choose(match);
    else if (filters_.key) filters_.key(row_, column_, static_cast<char32_t>(text.toUcs4().value(0)));
    event->accept();
    return;
  }
  QComboBox::keyPressEvent(event);
}

QWidget* GridEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
  auto* self = const_cast<GridEditDelegate*>(this);
  if (filters.choices && !filters.choices(index.row(), index.column()).empty()) {
    auto* choice = new ChoiceEdit(index.row(), index.column(), filters, parent);
    choice->setFont(parent->font());
    connect(choice, &ChoiceEdit::chosen, self, [self, choice] { emit self->commitData(choice); });
    return choice;
  }
  auto* editor = new FilteredLineEdit(index.row(), index.column(), filters, parent);
  editor->setFont(parent->font());
  // The cell holds what the editor shows at every moment, so that nothing
  // typed is lost when a command reads or saves the tables meanwhile.
  if (filters.live) connect(editor, &QLineEdit::textEdited, self, [self, editor] { emit self->commitData(editor); });
  return editor;
}

void GridEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const QString text = index.data(Qt::EditRole).toString();
  if (auto* choice = qobject_cast<ChoiceEdit*>(editor)) {
    choice->ShowText(text);
    return;
  }
  auto* line = static_cast<QLineEdit*>(editor);
  if (line->text() != text) line->setText(text);  // keeps the caret while the cell follows the editor
}

void GridEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
  if (auto* choice = qobject_cast<ChoiceEdit*>(editor)) {
    if (choice->currentIndex() >= 0) model->setData(index, choice->currentText(), Qt::EditRole);
    return;
  }
  model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
}

}  // namespace vesk::gui
