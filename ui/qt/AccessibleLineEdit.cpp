#include "AccessibleLineEdit.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

AccessibleLineEdit::AccessibleLineEdit(QLineEdit *edit)
    : QAccessibleWidget(edit, QAccessible::EditableText)
{}

QLineEdit *AccessibleLineEdit::Edit() const
{
    return static_cast<QLineEdit *>(widget());
}

QAccessible::State AccessibleLineEdit::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    if (Edit()->isReadOnly())
        state.readOnly = true;
    else
        state.editable = true;
    if (Edit()->echoMode() != QLineEdit::Normal)
        state.passwordEdit = true;
    state.selectableText = true;
    return state;
}

QString AccessibleLineEdit::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return Edit()->displayText();
    return QAccessibleWidget::text(t);
}

QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
AccessibleLineEdit::relations(QAccessible::Relation match) const
{
    auto result = QAccessibleWidget::relations(match);
    // A field without a name of its own is named by its labels: keep them.
    if (Edit()->accessibleName().isEmpty())
        return result;
    result.removeIf([this](const auto &relation) {
        const auto *label = qobject_cast<const QLabel *>(relation.first->object());
        return (relation.second & QAccessible::Label) && label && label->buddy() == Edit();
    });
    return result;
}

void *AccessibleLineEdit::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (t == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void AccessibleLineEdit::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !Edit()->hasSelectedText())
        return;
    *startOffset = Edit()->selectionStart();
    *endOffset = Edit()->selectionEnd();
}

int AccessibleLineEdit::selectionCount() const
{
    return Edit()->hasSelectedText() ? 1 : 0;
}

void AccessibleLineEdit::addSelection(int startOffset, int endOffset)
{
    // A line edit has one selection at most.
    setSelection(0, startOffset, endOffset);
}

void AccessibleLineEdit::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        Edit()->deselect();
}

void AccessibleLineEdit::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        Edit()->setSelection(startOffset, endOffset - startOffset);
}

int AccessibleLineEdit::cursorPosition() const
{
    return Edit()->cursorPosition();
}

void AccessibleLineEdit::setCursorPosition(int position)
{
    Edit()->setCursorPosition(position);
}

QString AccessibleLineEdit::text(int startOffset, int endOffset) const
{
    const QString shown = Edit()->displayText();
    if (endOffset < 0 || endOffset > shown.size())
        endOffset = shown.size();
    startOffset = std::clamp(startOffset, 0, endOffset);
    return shown.mid(startOffset, endOffset - startOffset);
}

int AccessibleLineEdit::characterCount() const
{
    return static_cast<int>(Edit()->displayText().size());
}

QRect AccessibleLineEdit::characterRect(int offset) const
{
    const QLineEdit *edit = Edit();
    const QString shown = edit->displayText();
    if (offset < 0 || offset >= shown.size())
        return {};
    // Measured from the text cursor, which Qt places with the field's margins
    // and its scrolling.
    const QRect cursor = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QFontMetrics metrics(edit->font());
    const int x = cursor.center().x() + metrics.horizontalAdvance(shown.left(offset)) -
                  metrics.horizontalAdvance(shown.left(edit->cursorPosition()));
    const QRect rect(x, cursor.top(), metrics.horizontalAdvance(shown.at(offset)), cursor.height());
    return rect.translated(edit->mapToGlobal(QPoint(0, 0)));
}

int AccessibleLineEdit::offsetAtPoint(const QPoint &point) const
{
    return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
}

void AccessibleLineEdit::scrollToSubstring(int startIndex, int endIndex)
{
    // The field scrolls to show its cursor: the end first, then the start.
    Edit()->setCursorPosition(endIndex);
    Edit()->setCursorPosition(startIndex);
}

QString AccessibleLineEdit::attributes(int offset, int *startOffset, int *endOffset) const
{
    // One run over the whole text, with no attributes of its own.
    const int count = characterCount();
    if (offset < 0 || offset > count) {
        *startOffset = *endOffset = -1;
        return {};
    }
    *startOffset = 0;
    *endOffset = count;
    return {};
}

void AccessibleLineEdit::deleteText(int startOffset, int endOffset)
{
    Replace(startOffset, endOffset, QString());
}

void AccessibleLineEdit::insertText(int offset, const QString &text)
{
    Replace(offset, offset, text);
}

void AccessibleLineEdit::replaceText(int startOffset, int endOffset, const QString &text)
{
    Replace(startOffset, endOffset, text);
}

void AccessibleLineEdit::Replace(int startOffset, int endOffset, const QString &text)
{
    QLineEdit *edit = Edit();
    if (edit->isReadOnly())
        return;
    const int size = static_cast<int>(edit->text().size());
    startOffset = std::clamp(startOffset, 0, size);
    endOffset = std::clamp(endOffset, startOffset, size);
    edit->setSelection(startOffset, endOffset - startOffset);
    edit->insert(text);
}
