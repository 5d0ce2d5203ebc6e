#include "widgets/EventButton.h"

#include "common/ErrorReport.h"

namespace widgets {

EventButton::EventButton(QWidget* parent) : QPushButton(parent) {
    connect(this, &QPushButton::clicked, this, [this] {
        if (Assigned(OnClick))
            RunGuarded([this] { OnClick(this); });
    });
}

void EventButton::Click() {
    if (Assigned(OnClick))
        OnClick(this);
}

} // namespace widgets
