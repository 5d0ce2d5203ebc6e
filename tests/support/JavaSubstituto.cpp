#include "JavaSubstituto.h"

#include <QDir>
#include <QFile>

namespace testsupport {

QByteArray instalaJavaSubstituto(const QTemporaryDir& dir) {
    if (!dir.isValid() || !QDir().mkpath(dir.filePath("bin")) || !QDir().mkpath(dir.filePath("saida")))
        return {};
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
