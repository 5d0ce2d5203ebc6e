#pragma once
#include <QApplication>
#include <QStringList>

// The backstop of the error report: an exception that slipped past the event slots is
// shown here instead of ending the program. Qt's own texts (the edits' context menu, the
// standard buttons) come in Portuguese (Brazil) when the system has Qt's translations.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The command line exactly as given (decoded as Qt decodes it), read before the application
// object exists, so Qt's own option handling cannot take anything out of it.
QStringList ArgumentosDaLinhaDeComando(int argc, const char* const* argv);

// Blanks the password argument (position 4) in the process's own argument memory, so that the
// process list (ps, /proc/PID/cmdline) no longer shows it; the other arguments stay as given.
// Call once the arguments have been read.
void ApagaSenhaDaLinhaDeComando(int argc, char** argv);
