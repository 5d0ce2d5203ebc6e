#pragma once
// Key filters. A filter gets the typed character by reference; setting it to QChar(0) swallows the
// key so the control never sees it.
#include <QChar>

class QObject;
class QWidget;

// Code edits: digits, "," (several codes), Backspace and Enter.
void OnKeyPressDosNumeros(QChar& Key);

// Text typed anywhere in the filter window: accented Latin letters folded to their plain upper-case
// letter, lower-case ASCII letters upper-cased, characters outside the accepted set swallowed.
void OnKeyPressDosTextos(QChar& Key);

// Window-wide key handler: normalises the key as OnKeyPressDosTextos does, and turns Enter into
// "next control" except in multi-line text boxes and the data grid. Sender must be a window,
// otherwise InvalidTypeError.
void OnKeyPressDoForm(QObject* Sender, QChar& Key);

// Moves the focus of janela (or of the window holding it) to the next control of its tab order,
// wrapping from the last to the first. Does nothing when no control can take the focus.
void FocaProximoControle(QWidget* janela);
