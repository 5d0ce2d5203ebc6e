#pragma once
// A stand-in for the Java runtime: a "java" script (on Windows a javaw.exe) first on PATH that writes its
// arguments, one per line, to one file per run named $ZV_JAVA_ARGS.<pid> (moved into place so a half-written
// file is never read).
#include <QTemporaryDir>

namespace testsupport {

// Writes dir/bin/java, creates dir/saida and points PATH and ZV_JAVA_ARGS at them. Returns the
// PATH it replaced (to restore later), or an empty text when the stand-in could not be made.
QByteArray instalaJavaSubstituto(const QTemporaryDir& dir);

} // namespace testsupport
