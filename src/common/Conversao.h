#pragma once
// Conversions between enumerated values and their texts.
#include <QList>
#include <QString>
#include <QStringList>

// The text of AString at the position where AEnumerados holds t (the last such position when t
// repeats); the empty text when t is not listed. The two lists must be parallel: RangeError
// when their lengths differ.
QString EnumeradoToStr(int t, const QStringList& AString, const QList<int>& AEnumerados);
