#pragma once
// A single-line edit with the event slots OnEnter, OnExit, OnChange and OnKeyPress.
// OnExit runs after Qt has moved the focus, so the window's focus widget is already the
// control that receives it. Focus moves caused by other windows (a modal search opening and
// closing) are not entries or exits; but when the window gets the focus back on another control
// than the one entered (the search moved it on), that one is left and the new one entered.
#include "widgets/EventSlots.h"

#include <QLineEdit>

namespace widgets {

class EventEdit : public QLineEdit, public KeySlotTarget {
    Q_OBJECT
public:
    explicit EventEdit(QWidget* parent = nullptr);

    NotifyEvent OnEnter;
    NotifyEvent OnExit;
    NotifyEvent OnChange;
    KeyPressEvent OnKeyPress;

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // Text composed by an input method (dead keys, compose) is typed text too.
    void inputMethodEvent(QInputMethodEvent* e) override;
};

// After the program moved the focus inside a window that is not active (a modal window is still
// closing), Qt sends no focus events until the window is active again. This runs the exit of the
// edit entered and the entry of the window's new focus control now, while the caller's state
// still holds, so that the window's return finds nothing left to do.
void SincronizaFoco(QWidget* janela);

// Runs the window's key preview and then a control's own key slot for a typed character.
// Returns false when the key was swallowed; otherwise `key` holds what the control should get.
bool PreviewAndFilterKey(QWidget* control, const KeyPressEvent& ownSlot, QChar& key);

// Runs typed text (one key's text, or an input method's commit) through the same preview and
// slot, character by character, and returns what the control should get. A character beyond
// U+FFFF is offered as its first UTF-16 unit and kept whole only when no handler changed it.
QString FilterTypedText(QWidget* control, const KeyPressEvent& ownSlot, const QString& text);

// The text a key event types: empty for editing keys (Delete, whose X11 text is DEL, is one) and
// for keys pressed with Alt, which are commands (mnemonics), never text.
QString TypedText(const QKeyEvent* e);

// Alt held without Ctrl.
bool AltKey(const QKeyEvent* e);

// The same key without its text, for controls that would type it.
QKeyEvent WithoutText(const QKeyEvent* e);

// The typed character of a key event, or QChar() when it does not type exactly one unit.
QChar CharOfKeyEvent(const QKeyEvent* e);

// A key event carrying another text than `e` did.
QKeyEvent ReplacedKeyEvent(const QKeyEvent* e, const QString& text);

} // namespace widgets
