#pragma once
// Window-level key preview: every character typed anywhere in the window reaches the
// window's OnKeyPress first (with the window as Sender), then the control's own handler.
// A focused push button takes Enter before any key handler sees it.
#include "widgets/EventSlots.h"

#include <QObject>

class QWidget;

namespace widgets {

class KeyPreview : public QObject {
    Q_OBJECT
public:
    explicit KeyPreview(QWidget* window);
    ~KeyPreview() override;

    KeyPressEvent OnKeyPress;

    QWidget* window() const { return m_window; }
    // The preview of the window a widget belongs to, if it has one.
    static KeyPreview* of(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
};

} // namespace widgets
