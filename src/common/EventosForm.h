#pragma once
// Looks of an edit while it holds the focus: blue background, white bold text; back to the normal
// white background and black regular text when it loses it.

class QObject;

// QLineEdit (plain and masked), QPlainTextEdit, QTextEdit and QDateTimeEdit, subclasses included;
// anything else is left as it is.
void OnEnterDoDBEdit(QObject* Sender);

// Same kinds; a disabled QLineEdit keeps the colours it has.
void OnExitDoDBEdit(QObject* Sender);
