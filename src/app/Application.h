#pragma once
#include <QApplication>

// The backstop of the error report: an exception that slipped past the event slots is
// shown here instead of ending the program.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
