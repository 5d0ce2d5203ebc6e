#pragma once
// A push button with a glyph and an OnClick slot that the program can also invoke.
#include "widgets/EventSlots.h"

#include <QPushButton>

namespace widgets {

class EventButton : public QPushButton {
    Q_OBJECT
public:
    explicit EventButton(QWidget* parent = nullptr);

    NotifyEvent OnClick;

    // The program's click: runs the slot directly, so its errors reach the caller.
    void Click();
};

} // namespace widgets
