#pragma once
// Typing as a keyboard does it: one key press and release per character, the character as the
// event's text (QTest::keyClicks only knows ASCII). Backspace, Enter and Esc come as their named
// keys, Latin-1 characters as their upper-case key code, anything else as an unknown key.
#include <QChar>
#include <QString>

class QWidget;

namespace testsupport {

// Into `alvo`.
void digita(QWidget* alvo, const QString& texto);

// Into whatever control has the focus, looked up again for every character (a key may move it);
// stops when no control has the focus.
void digita(const QString& texto);

} // namespace testsupport
