#pragma once
#include <QString>

// A whole number in the signed 32-bit range (optional leading blanks and sign, decimal
// digits); anything else raises ConversionError "'<text>' is not a valid integer value".
qint32 StrToInt(const QString& text);
