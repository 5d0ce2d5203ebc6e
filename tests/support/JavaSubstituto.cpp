#include "JavaSubstituto.h"

#include <QDir>
#include <QFile>

namespace testsupport {

QByteArray instalaJavaSubstituto(const QTemporaryDir& dir) {
    if (!dir.isValid() || !QDir().mkpath(dir.filePath("bin")) || !QDir().mkpath(dir.filePath("saida")))
        return {};
#ifdef Q_OS_WIN
    // The program starts javaw.exe: a small program of the tests that writes the same file.
    if (!QFile::copy(QStringLiteral(ZV_JAVAW_SUBSTITUTO), dir.filePath("bin/javaw.exe")))
        return {};
    qputenv("ZV_JAVA_ARGS", QDir::toNativeSeparators(dir.filePath("saida/run")).toUtf8());
    const QByteArray anterior = qgetenv("PATH");
    qputenv("PATH", QDir::toNativeSeparators(dir.filePath("bin")).toUtf8() + ';' + anterior);
    return anterior;
#endif
    QFile stub(dir.filePath("bin/java"));
    if (!stub.open(QIODevice::WriteOnly))
        return {};
    stub.write("#!/bin/sh\n"
               "saida=\"$ZV_JAVA_ARGS.$$\"\n"
               "printf '%s\\n' \"$@\" > \"$saida.tmp\" && mv \"$saida.tmp\" \"$saida\"\n");
    stub.close();
    if (!stub.setPermissions(stub.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther))
        return {};
    qputenv("ZV_JAVA_ARGS", dir.filePath("saida/run").toUtf8());
    const QByteArray original = qgetenv("PATH");
    qputenv("PATH", dir.filePath("bin").toUtf8() + ':' + original);
    return original;
}

} // namespace testsupport
