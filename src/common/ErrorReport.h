#pragma once
// The application's error report: what leaves an event handler (or the main window's
// creation step) is shown in a stop-icon box with one OK button, and the program goes on.
#include <QString>
#include <exception>

// The message as the box shows it: a "." is added when the last character sorts above ".".
QString TextoDoErro(const QString& message);

// Shows the box (modal) for an exception of any kind.
void ShowException(const std::exception& error);
void ShowErrorText(const QString& message);

// Runs a piece of program code on behalf of Qt; nothing it throws crosses back into Qt.
template <typename F> void RunGuarded(F&& f) noexcept {
    try {
        f();
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowErrorText(QStringLiteral("Erro desconhecido"));
    }
}
