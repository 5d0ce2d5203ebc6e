#include "common/ErrorReport.h"

#include "base/AppError.h"

#include <QApplication>
#include <QMessageBox>

QString TextoDoErro(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}

void ShowErrorText(const QString& message) {
    try {
        QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(),
                        TextoDoErro(message), QMessageBox::Ok);
        box.setObjectName(QStringLiteral("ErrorReport"));
        // The message may quote typed or pasted text: show it as it is, never as markup.
        box.setTextFormat(Qt::PlainText);
        box.exec();
    } catch (...) {
        // The report itself must never throw into the event loop.
    }
}

void ShowException(const std::exception& error) {
    if (const auto* app = dynamic_cast<const AppError*>(&error))
        ShowErrorText(app->message());
    else
        ShowErrorText(QString::fromUtf8(error.what()));
}
