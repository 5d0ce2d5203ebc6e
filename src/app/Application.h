#pragma once
#include <QApplication>
#include <QStringList>

// The backstop of the error report: an exception that slipped past the event slots is
// shown here instead of ending the program.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The command line exactly as given (decoded as Qt decodes it), read before the application
// object exists, so Qt's own option handling cannot take anything out of it.
QStringList ArgumentosDaLinhaDeComando(int argc, const char* const* argv);
