#pragma once
// A single-line edit with the event slots OnEnter, OnExit, OnChange and OnKeyPress.
// OnExit runs after Qt has moved the focus, so the window's focus widget is already the
// control that receives it. Focus moves caused by other windows (a modal search opening and
// closing) are not entries or exits.
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
};

// Runs the window's key preview and then a control's own key slot for a typed character.
// Returns false when the key was swallowed; otherwise `key` holds what the control should get.
bool PreviewAndFilterKey(QWidget* control, const KeyPressEvent& ownSlot, QChar& key);

// The typed character of a key event, or QChar() when it is not a single character.
QChar CharOfKeyEvent(const QKeyEvent* e);

// A key event carrying another character than `e` did.
QKeyEvent ReplacedKeyEvent(const QKeyEvent* e, QChar key);

} // namespace widgets
