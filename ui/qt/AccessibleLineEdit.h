#pragma once

#include <QAccessibleWidget>

class QLineEdit;

// What assistive technology sees of an input field of the program's windows.
//
// It stands in for Qt's own interface for two reasons, both heard with Orca:
// - Qt reports the text of a field as runs of no length, and Orca, which
//   reads a field by its runs, then drops the last character: "1000" is
//   spoken as "100", and "0" not at all. Here the whole text is one run.
// - Qt relates a field to each label that names it as its buddy, one label
//   per relation, and Orca speaks the first label alone instead of the
//   field's name: the rate field was "１０００点", without "Zeny". The fields
//   carry names that say all they hold, so the labels are not passed on.
class AccessibleLineEdit : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit AccessibleLineEdit(QLineEdit *edit);

    // QAccessibleInterface
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match = QAccessible::AllRelations) const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    QLineEdit *Edit() const;
    // Replaces a part of the text as typing over a selection would: it can be
    // undone, and a read-only field keeps its text.
    void Replace(int startOffset, int endOffset, const QString &text);
};
